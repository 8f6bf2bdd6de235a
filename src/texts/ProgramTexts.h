#pragma once
// Every text the program shows, in one table: the window's hints, captions, questions and
// messages, its menus and status strip, the map view and the desktop launcher's complaints.
// Logic names a text by its id and never spells it; a front end or the presenter asks the
// table for it. A text with arguments marks each place with {} and gets them in order from
// Format; the table keeps the program's own (default) wording, which every language starts
// from.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace morvi {

enum class TextId : uint16_t {
    // --- start-up and configuration ---
    WarningCaption,
    ErrorCaption,
    NoDirectoryChosen,
    DirectoryLacksServerFiles,
    ServerPathTooLong,
    ServerPathUnencodable,
    ConfigWriteFailed,
    ServerPathNotConfigured,
    ChooseServerDirectory,
    FirstRunChooseServerDirectory,
    MapListMissing,
    AboutMenuEntry,
    // --- loading ---
    LoadProgressEmpty,          // the progress caption at 0: no digits at all
    LoadProgress,               // {} progress
    LoadDone,                   // {} rows
    LoadDoneHint,
    // --- editing ---
    PreviousEditOpen,
    ChooseTemplate,
    TemplateTaken,
    SelectRowFirst,
    DropNewPlacementQuestion,
    NoticeCaption,
    DebugModeCaption,           // {} region file
    TemplateListHint,
    PlacementListHint,
    GroupHint,
    OffsetOutOfRange,
    DropAbove24,
    DropBelow0,
    NameUnencodable,
    NameTooLong,
    ScriptUnencodable,
    ScriptTooLong,
    SaveFailed,
    // --- deleting ---
    DeleteQuestion,
    DeleteCaption,
    DeleteWriteFailed,
    DeleteRowFailed,            // {} name
    DeleteFileUnreadable,       // {} file
    DeleteNoMatchingRecord,     // {} file
    DeleteDoneNoScript,
    DeleteRowDone,              // {} name
    DeleteRecounting,           // {} rows
    DeleteCounts,               // {} selected, {} removed
    RowsNow,                    // {} rows
    // --- history, undo and redo ---
    HistoryFailed,              // {} reason
    ChangedSinceLoad,           // {} files
    NothingToUndo,
    UndoRefused,                // {} reason
    Undone,
    NothingToRedo,
    RedoRefused,                // {} reason
    Redone,
    // --- script buttons ---
    NoPlacementToChange,
    ScriptFilesFilter,
    AllFilesFilter,
    NoEditorToStart,
    NoBrowserToStart,
    NotepadFailed,              // {} path
    // --- status strip ---
    OperationAdd,
    OperationModify,
    OperationDelete,
    OperationClone,
    StatusFiles,                // {} count
    StatusRows,                 // {} rows written, {} rows in the list
    StatusRowsNotDeleted,       // {} rows
    DuplicateKeyOf,             // {} template, {} x, {} y, {} x offset, {} y offset
    DuplicateNotice,
    DuplicateInFile,
    DuplicatePair,              // {} first, {} second
    DuplicateMore,              // {} records
    DuplicateGroupsMore,        // {} groups
    RowsCopied,                 // {} rows
    ClipboardBusy,
    ClipboardRefused,
    // --- menus, keys and extras ---
    KeySave,
    KeyDelete,
    KeyAdd,
    KeyFindName,
    KeyFindNext,
    KeyReloadMap,
    MenuEdit,
    MenuClone,
    MenuDelete,
    MenuMapView,
    MenuCopyRows,
    MenuReloadMap,
    MenuUndo,
    MenuRedo,
    TemplateFilterCue,
    TemplateFilterTip,
    // --- map view ---
    MapViewFitTip,
    MapViewOther,
    MapViewMarks,
    // --- sorting, narrowing and counting the placement list ---
    ListFilterCue,
    ListFilterTip,
    ListShown,                  // {} rows shown, {} rows in all
    ListSelected,               // {} rows selected
    ListTypeCount,              // {} type name, {} rows
    FilterUnknownField,         // {} term
    FilterBadNumber,            // {} term
    FilterBadRange,             // {} term
    FilterUnknownName,          // {} term
    OperationUndo,
    OperationRedo,
    StatusStepBack,             // {} time, {} operation, {} step, {} files

    Count
};

// The text of `id`.
std::string_view Text(TextId id);

// The text of `id` with each {} replaced by the next argument (missing ones stay empty).
std::string Format(TextId id, std::initializer_list<std::string_view> args);

}  // namespace morvi
