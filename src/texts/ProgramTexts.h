#pragma once
// Every text the program shows, in one table: the window's labels, captions, hints,
// questions and messages, its menus and status strip, the map view, the desktop launcher's
// complaints and everything the command line writes (its help, errors, warnings and
// reports). Logic names a text by its id and never spells it; a front end, the presenter or a
// command asks the table for it. A text with arguments marks each place with {} and gets them
// in order from Format, whose argument count is checked against the text when the program is
// compiled. The table keeps the program's own (default) wording, which every language starts
// from: one entry per text, grouped as the ids are.
//
// Not texts, and so not here: names that are a data format or an interface (CSV and JSON
// column names and keys, subcommand and option names, the change history's program names),
// which stay named constants where they are used.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "version/ProgramVersion.h"

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
    // --- the window template's labels and captions (main window) ---
    MainWindowTitle,
    LabelPlacementFrame,
    LabelServerFrame,
    LabelServerStatus,
    LabelBrowseServer,
    LabelExit,
    LabelAdd,
    LabelDelete,
    LabelPosX,
    LabelPosY,
    LabelOffsetX,
    LabelOffsetY,
    LabelScriptPath,
    LabelBrowseScript,
    LabelExchange,
    LabelType,
    LabelGroup,
    LabelSeries,
    LabelDrop,
    LabelSave,
    LabelName,
    LabelEditScript,
    LabelFindName,
    LabelFindAll,
    LabelFindX,
    LabelFindY,
    LabelHintPlaceholder,
    LabelModify,
    LabelCancelEdit,
    LabelFindNext,
    LabelContinue,
    LabelContact,
    // --- the placement list's column headings ("Pos   x" and "Pos   y" hold three blanks) ---
    ColumnName,
    ColumnPosX,
    ColumnMoveX,
    ColumnPosY,
    ColumnMoveY,
    ColumnType,
    ColumnGroup,
    ColumnSeries,
    ColumnMoney,
    ColumnScript,
    // --- the About box ---
    AboutCaption,
    AboutTitleLine,
    AboutPurposeLine,
    AboutClose,
    AboutHost,
    AboutMoreInfo,
    // --- the main window's link, and why a selected row was not deleted ---
    LinkFailed,
    LinkFailedCaption,
    DeleteReasonUnreadable,             // {} file
    DeleteReasonNoRecord,
    DeleteReasonWriteFailed,
    DeleteReasonWriteFailedBecause,     // {} the system's reason
    // --- command line: the program's and the subcommands' help ---
    CliAbout,
    CliHelpServer,
    CliHelpMap,
    CliHelpKey,
    CliHelpMaps,
    CliHelpTableCsvJson,
    CliHelpList,
    CliHelpListAll,
    CliHelpCheck,
    CliHelpAdd,
    CliHelpTemplate,
    CliHelpAddFile,
    CliHelpSet,
    CliHelpClone,
    CliHelpRemove,
    CliHelpExport,
    CliHelpCsvJson,
    CliHelpImport,
    CliHelpImportFile,
    CliHelpDryRun,
    CliHelpHistory,
    CliHelpHistoryJson,
    CliHelpUndo,
    CliHelpChangeId,
    CliHelpRestore,
    CliHelpForce,
    CliHelpName,
    CliHelpX,
    CliHelpY,
    CliHelpOffsetX,
    CliHelpOffsetY,
    CliHelpType,
    CliHelpGroup,
    CliHelpSeries,
    CliHelpDrop,
    CliHelpScript,
    // --- command line: places, lists and the server tree ---
    CliAtPlace,                     // {} file, {} line or byte offset, {} message
    CliInFile,                      // {} file, {} message
    CliListSeparator,
    CliListComma,
    CliSystemReason,                // {} the system's reason
    CliNoServerDirectory,
    CliNotADirectory,
    CliNoMapList,
    CliNoSuchMap,
    CliCannotRead,
    CliCannotReadTemplates,
    CliCannotReadMapsDirectory,
    CliUnknownFormat,
    // --- command line: placement keys and field values ---
    CliBadKey,
    CliKeyWithoutFile,
    CliSomeField,
    CliNotWholeNumber,              // {} field, {} text
    CliNotBetween,                  // {} field, {} least, {} most
    CliNotOneOf,                    // {} field, {} text, {} choices
    CliNotValid,
    CliNotStorable,
    CliTooManyBytes,                // {} field, {} bytes
    // --- command line: why the map document refused or failed ---
    CliTheRegionFile,
    CliNoRegionFileToAddTo,
    CliRowGone,
    CliKeyGone,
    CliNotTiled,
    CliCountFull,
    CliHistoryFailed,
    CliLockFailed,
    CliWriteFailed,                 // {} file, {} the system's reason
    CliChangedMeanwhile,
    CliNothingToUndo,
    CliNothingToRedo,
    CliRevertRefused,
    CliOperationFailed,
    // --- command line: `add`, `set`, `clone` and `rm` ---
    CliWarnHidden,
    CliWarnKeyShared,               // {} file, {} records, {} key
    CliWarnChangedSinceRead,
    CliNoMatch,                     // {} map, {} key
    CliNotRegionFileOfMap,          // {} file, {} map
    CliAddNeedsTemplate,
    CliTemplateBetween,
    CliNothingAddedToMap,
    CliNothingAddedTo,
    CliNothingWritten,
    CliNothingRemoved,
    CliNotRemoved,                  // {} key, {} name, {} reason
    CliRemovedOf,                   // {} removed, {} asked for
    // --- command line: `check` ---
    CliCheckTemplateOutside,
    CliCheckNameNotGbk,
    CliCheckScriptNotGbk,
    CliCheckScriptWithoutBackslash,
    CliCheckScriptMissing,
    CliCheckHeaderCutOff,
    CliCheckRecordCutOff,
    CliCheckCountMismatch,
    CliCheckSummary,                // {} files, {} findings, {} files with findings
    // --- command line: `import` ---
    CliUnclosedQuote,
    CliHeaderExpected,
    CliFieldCount,                  // {} line, {} fields, {} expected
    CliNotJsonArray,
    CliElementNotObject,
    CliElementWithout,              // {} element, {} column
    CliElementBadValue,
    CliTemplateNotNumber,
    CliRowFileNotOfMap,             // {} file, {} map
    CliTemplateNotInTable,
    CliRecordCutOff,
    CliPlanAdd,                     // {} key, {} name
    CliPlanDelete,                  // {} key, {} name
    CliPlanChange,                  // {} key, {} changed cells
    CliPlanCell,                    // {} column, {} before, {} after
    CliNothingToImport,             // {} map, {} file
    CliImportCounts,
    CliDryRun,
    CliImportStopped,
    CliNoRegionFileChanged,
    CliRestoreFailed,
    CliWrote,
    // --- command line: `history`, `undo` and `restore` ---
    CliHistoryStep,
    CliHistoryRecords,
    CliNoSuchChange,
    CliNoChangeToUndo,
    CliUndoOfChange,
    CliRestoreOfChange,
    CliRevertNotDone,               // {} what, {} reason
    CliRevertDone,                  // {} what, {} change, {} files
    CliVersionHelp,
    // --- start from the desktop menu ---
    UserConfigNoHome,
    UserConfigUnusable,         // {} directory, {} reason
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
    // --- bulk edit ---
    MenuBulkEdit,
    BulkEditCaption,
    BulkEditLeave,
    BulkEditScriptLabel,
    BulkEditMoveLabel,
    BulkEditNoSelection,
    BulkEditNothingSet,
    BulkEditBadNumber,          // {} field
    BulkEditDone,               // {} rows selected, {} rows changed
    BulkEditRowsRefused,        // {} rows, {} names
    BulkEditMore,               // {} further rows
    OperationBulkEdit,
    MapViewEditMarks,
    OperationMapMove,
    BulkEditClearScript,

    // --- command line: `check`'s further findings, `diff`, `find` ---
    CliHelpCheckFormat,
    CliHelpCheckAll,
    CliCheckHidden,                // {} reasons
    CliHiddenEmptyName,
    CliHiddenTemplateZero,
    CliHiddenTemplateBeyond,
    CliHiddenXTooLarge,
    CliHiddenYTooLarge,
    CliHiddenNotCounted,
    CliCheckDuplicateKey,          // {} key, {} offset
    CliCheckExactDuplicate,        // {} file, {} offset
    CliHelpDiff,
    CliHelpDiffOther,
    CliHelpDiffFormat,
    CliDiffMap,                    // {} index, {} name, {} directory, {} note, {} {} {} counts
    CliDiffOtherMap,               // {} index, {} name, {} directory, {} {} {} counts
    CliDiffMapOnlyHereNote,
    CliDiffOtherIndexNote,         // {} index
    CliDiffFileOnlyHere,           // {} file
    CliDiffFileOnlyThere,          // {} file
    CliDiffNotCarried,             // {} reason
    CliDiffAdded,                  // {} key, {} name
    CliDiffRemoved,                // {} key, {} name
    CliDiffChanged,                // {} key, {} fields
    CliDiffField,                  // {} column, {} before, {} after
    CliDiffBytesNotShown,
    CliDiffOccurrence,             // {} number
    CliDiffSummary,                // {} maps
    CliDiffSummaryNotCarried,      // {} maps, {} differences
    CliDiffNothingToWrite,
    CliDiffNameTheMap,             // {} maps
    CliDiffMapOneSide,             // {} map, {} reason
    CliDiffNoMap,                  // {} map
    CliDiffNotCarriedAt,           // {} file and key, {} reason
    CliDiffApplyWith,              // {} server, {} map index
    CliDiffWhyHiddenHere,
    CliDiffWhyHiddenThere,
    CliDiffWhyNotAtEnd,
    CliDiffWhyOrder,
    CliDiffWhyBytesNotShown,
    CliDiffWhyNotRepresentable,
    CliDiffWhyKeyShared,
    CliDiffWhyFileOnlyHere,
    CliDiffWhyFileOnlyThere,
    CliDiffWhyForeign,
    CliDiffWhyMapOnlyHere,
    CliDiffWhyMapOnlyThere,
    CliDiffWhyUnreadable,
    CliHelpFind,
    CliHelpFindFilter,
    CliFindBadFilter,              // {} term, {} reason
    CliFilterUnknownField,
    CliFilterBadNumber,
    CliFilterBadRange,
    CliFilterUnknownName,
    CliFindMapSkipped,             // {} index, {} name, {} file or directory
    CliFindSummary,                // {} rows, {} maps with rows, {} maps

    // --- problems panel, files changed on disk ---
    ProblemsCaption,
    ProblemsMenu,
    ProblemsColumnMap,
    ProblemsColumnFile,
    ProblemsColumnOffset,
    ProblemsColumnRow,
    ProblemsColumnReason,
    ProblemsCheckMap,
    ProblemsCheckEveryMap,
    ProblemsCancel,
    ProblemsFixDuplicate,
    ProblemsFixHidden,
    ProblemsNoFix,
    ProblemsProgress,           // {} maps done, {} maps, {} map name
    ProblemsSummary,            // {} findings, {} maps, {} files
    ProblemsCancelled,          // {} findings, {} maps, {} files
    ProblemsNoMap,
    ProblemsMapSkipped,
    ProblemsUnreadable,
    ProblemsHeaderCutOff,       // {} file size
    ProblemsRecordCutOff,       // {} length, {} present
    ProblemsForeignBytes,       // {} length, {} present
    ProblemsCountMismatch,      // {} count, {} records
    ProblemsTemplateOutside,    // {} template, {} last
    ProblemsHidden,             // {} reasons
    ProblemsHiddenEmptyName,
    ProblemsHiddenTemplateZero,
    ProblemsHiddenTemplateBeyond,
    ProblemsHiddenXTooLarge,
    ProblemsHiddenYTooLarge,
    ProblemsHiddenNotCounted,
    ProblemsNameNotGbk,
    ProblemsScriptNotGbk,
    ProblemsScriptWithoutBackslash,  // {} script
    ProblemsScriptMissing,      // {} script
    ProblemsDuplicateKey,       // {} offset
    ProblemsExactDuplicate,     // {} file, {} offset
    ProblemsRowNotListed,
    ProblemsRowFilteredOut,
    ProblemsRowGone,
    ProblemsFixQuestion,        // {} file, {} reason
    ProblemsFixDone,
    ProblemsFixRefused,         // {} file
    ProblemsFixOtherMap,
    ProblemsKeyTip,
    DiskChangedOne,             // {} file
    DiskChangedMany,            // {} first file, {} files
    DiskReloaded,               // {} rows
    // --- languages: the menu, and each language by its own name ---
    MenuLanguage,
    LanguageOriginal,
    LanguageEnglish,
    LanguageVietnamese,
    // --- find in every map, compare with another server (windows) ---
    FindAllMenu,
    FindAllFilterCue,
    FindAllFilterTip,
    FindAllSearch,
    FindAllStop,
    FindAllColumnMap,
    FindAllColumnFile,
    FindAllRunning,                // {} map number, {} maps, {} name, {} files done, {} files, {} found
    FindAllDone,                   // {} found, {} maps with rows, {} maps
    FindAllCancelled,              // {} found, {} maps done, {} maps
    FindAllSkipped,                // {} index, {} name, {} file or directory
    FindAllNoMapList,
    FindAllOpenHint,
    FindAllOpened,                 // {} map, {} name
    FindAllMapNotListed,           // {} map
    FindAllPlacementGone,          // {} map, {} file
    CompareMenu,
    CompareOtherLabel,
    CompareBrowse,
    CompareRun,
    CompareFilterCue,
    CompareColumnKind,
    CompareColumnKey,
    CompareColumnFields,
    CompareAdded,
    CompareChanged,
    CompareRemoved,
    CompareFileOnlyHere,           // {} file
    CompareFileOnlyThere,          // {} file
    CompareNoMap,
    CompareNoOther,
    CompareOtherNoMapList,         // {} directory
    CompareRunning,                // {} map
    CompareDone,                   // {} map, {} added, {} changed, {} removed, {} shown, {} in all
    CompareSame,                   // {} map
    CompareMapOnlyHere,            // {} map
    CompareFieldChange,            // {} column, {} before, {} after
    CompareHiddenBytes,
    // --- command line: `list`, `rm` and `set` with --where ---
    CliHelpWhere,
    CliHelpMove,
    CliWhereAndKey,
    CliKeyOrWhere,
    CliWhereCannotSet,             // {} option
    CliWhereNothingToSet,
    CliMoveWithoutWhere,
    CliBadMove,                    // {} text
    CliMoveOutside,                // {} x or y, {} greatest listed value
    CliNotChanged,                 // {} key, {} name, {} reason
    CliChangedOf,                  // {} changed, {} matching
    CliListMatched,                // {} matching, {} rows
    CliPlanNoFieldChanges,
    Count
};

// The program's own wording, in the order of TextId (checked below).
struct TextEntry {
    TextId id;
    const char* text;
};

inline constexpr TextEntry kProgramTexts[] = {
    // --- start-up and configuration ---
    {TextId::WarningCaption, "警告"},
    {TextId::ErrorCaption, "错误"},
    {TextId::NoDirectoryChosen, "您没有指定任何目录,因此程序未能初始化!您可以在程序启动后重新配置"},
    {TextId::DirectoryLacksServerFiles, "您指定的目录里并不包含Morvi服务器端的关键性文件,这可能影响程序正常初始化!!"},
    {TextId::ServerPathTooLong, "您选择的目录路径超过254个字节,无法使用!"},
    {TextId::ServerPathUnencodable, "您选择的目录路径含有无法保存的字符,无法使用!"},
    {TextId::ConfigWriteFailed, "配置文件MorviConfig.ini保存失败!"},
    {TextId::ServerPathNotConfigured, "服务器路径尚未配置!"},
    {TextId::ChooseServerDirectory, "选择Morvi服务器端目录"},
    {TextId::FirstRunChooseServerDirectory, "第一次运行程序,配置Morvi服务器端目录"},
    {TextId::MapListMissing, "地图列表文件不存在或者配置错误,或者设置的地图数为0!"},
    {TextId::AboutMenuEntry, "关于 MorviNpc(&A)..."},

    // --- loading ---
    {TextId::LoadProgressEmpty, "进度[]"},
    {TextId::LoadProgress, "进度[{}]"},
    {TextId::LoadDone, "NPC配置列表完成!共有NPC配置信息[{}]条!"},
    {TextId::LoadDoneHint, "双击上面的内容可在这里进行编辑!"},

    // --- editing ---
    {TextId::PreviousEditOpen, "上一次编辑尚未结束!"},
    {TextId::ChooseTemplate, "必须在NPC列表中选择一个NPC原型!"},
    {TextId::TemplateTaken, "添加NPC模型成功,现在可以更改NPC配置信息!"},
    {TextId::SelectRowFirst, "请先在列表中选择要编辑的NPC!"},
    {TextId::DropNewPlacementQuestion, "添加的信息尚未保存,是否取消添加继续编辑?"},
    {TextId::NoticeCaption, "提示"},
    {TextId::DebugModeCaption, "[调试模式]{}"},
    {TextId::TemplateListHint, "双击该选项可以替换或增添NPC"},
    {TextId::PlacementListHint, "双击该选项可以编辑选定项"},
    {TextId::GroupHint, "宋,金阵营只对宋金中的NPC有效!"},
    {TextId::OffsetOutOfRange, "偏移坐标不能大于255或者小于0!"},
    {TextId::DropAbove24, "掉宝数不能大于24!"},
    {TextId::DropBelow0, "掉宝数不能小于0!"},
    {TextId::NameUnencodable, "NPC名称含有无法保存的字符!"},
    {TextId::NameTooLong, "NPC名称不能超过33个字节!"},
    {TextId::ScriptUnencodable, "脚本路径含有无法保存的字符!"},
    {TextId::ScriptTooLong, "脚本路径不能超过255个字节!"},
    {TextId::SaveFailed, "打开地图文件发生错误,保存失败!"},

    // --- deleting ---
    {TextId::DeleteQuestion, "删除操作将直接操作文件,不可恢复.确定要从地图里删除选定的NPC么?"},
    {TextId::DeleteCaption, "从地图里移出NPC"},
    {TextId::DeleteWriteFailed, "删除地图NPC时建立临时文件失败!NPC未删除!"},
    {TextId::DeleteRowFailed, "删除NPC[{}]失败!"},
    {TextId::DeleteFileUnreadable, "无法读取地图文件{}"},
    {TextId::DeleteNoMatchingRecord, "地图文件里找不到该NPC{}"},
    {TextId::DeleteDoneNoScript, "删除NPC完成!"},
    {TextId::DeleteRowDone, "删除NPC[{}]成功!"},
    {TextId::DeleteRecounting, "NPC删除完成!正在重新计算NPC信息,现有NPC信息[{}]条!"},
    {TextId::DeleteCounts, "选择删除[{}]条,实际完成[{}]条!"},
    {TextId::RowsNow, "现有NPC配置信息[{}]条!"},

    // --- history, undo and redo ---
    {TextId::HistoryFailed, "无法记录修改历史,文件未改动! {}"},
    {TextId::ChangedSinceLoad, "地图文件{}在载入地图后已被其他程序修改,请重新载入地图!"},
    {TextId::NothingToUndo, "没有可撤销的修改!"},
    {TextId::UndoRefused, "撤销被拒绝,文件未改动! {}"},
    {TextId::Undone, "已撤销上一次修改!"},
    {TextId::NothingToRedo, "没有可重做的修改!"},
    {TextId::RedoRefused, "重做被拒绝,文件未改动! {}"},
    {TextId::Redone, "已重做上一次撤销的修改!"},

    // --- script buttons ---
    {TextId::NoPlacementToChange, "您没有选择可更改的NPC"},
    {TextId::ScriptFilesFilter, "脚本配置文件(*.lua)"},
    {TextId::AllFilesFilter, "所有文件(*.*)"},
    {TextId::NoEditorToStart,
     "无法启动编辑器: 请安装 xdg-open (xdg-utils) 并为 .lua 文件设置默认程序, "
     "或设置环境变量 VISUAL 或 EDITOR (并安装一个终端程序, 如 xterm)"},
    {TextId::NoBrowserToStart, "无法打开浏览器: 请安装 xdg-open (xdg-utils) 并设置默认浏览器, 或设置环境变量 BROWSER"},
    {TextId::NotepadFailed, "无法启动记事本 (notepad): {}"},

    // --- status strip ---
    {TextId::OperationAdd, "添加"},
    {TextId::OperationModify, "修改"},
    {TextId::OperationDelete, "删除"},
    {TextId::OperationClone, "复制为新NPC"},
    {TextId::StatusFiles, "{} 个文件"},
    {TextId::StatusRows, "{} 行 (列表 {} 行)"},
    {TextId::StatusRowsNotDeleted, "({} 行未删除)"},
    {TextId::DuplicateKeyOf, "模板 {}, X {}, Y {}, 偏移 {}/{}"},
    {TextId::DuplicateNotice, "注意: "},
    {TextId::DuplicateInFile, " 中有相同键的记录, 修改或删除只会找到第一条: "},
    {TextId::DuplicatePair, "{} 与 {}"},
    {TextId::DuplicateMore, " 等 {} 条"},
    {TextId::DuplicateGroupsMore, "; 另有 {} 组"},
    {TextId::RowsCopied, "{} 行已复制到剪贴板"},
    {TextId::ClipboardBusy, "剪贴板正被另一个程序使用,未复制"},
    {TextId::ClipboardRefused, "剪贴板未接受这些行"},

    // --- menus, keys and extras ---
    {TextId::KeySave, "Luu"},
    {TextId::KeyDelete, "Xoa"},
    {TextId::KeyAdd, "Them"},
    {TextId::KeyFindName, "Ten NPC"},
    {TextId::KeyFindNext, "Chi tim mot"},
    {TextId::KeyReloadMap, "重新读取地图"},
    {TextId::MenuEdit, "编辑"},
    {TextId::MenuClone, "复制为新NPC"},
    {TextId::MenuDelete, "删除"},
    {TextId::MenuMapView, "在地图上显示"},
    {TextId::MenuCopyRows, "复制行"},
    {TextId::MenuReloadMap, "重新读取地图"},
    {TextId::MenuUndo, "撤销上一次修改"},
    {TextId::MenuRedo, "重做撤销的修改"},
    {TextId::TemplateFilterCue, "筛选"},
    {TextId::TemplateFilterTip, "筛选NPC原型 (名称或编号); 编号不变"},

    // --- map view ---
    {TextId::MapViewFitTip, "显示整个地图 (1000 × 500)"},
    {TextId::MapViewOther, "其他"},
    {TextId::MapViewMarks, "■ 中心黑点 = Script · 数字 = 同一位置的NPC数 · 左键拖动选择 · 右键拖动平移 · 滚轮缩放"},

    // --- the window template's labels and captions (main window) ---
    {TextId::MainWindowTitle, "MorviNpc"},
    {TextId::LabelPlacementFrame, "There isn't any NPC information"},
    {TextId::LabelServerFrame, "Thu muc Server"},
    {TextId::LabelServerStatus, "Hien Tai Van Dang Trong Tinh Trang Chua Hoat Dong"},
    {TextId::LabelBrowseServer, "Tim..."},
    {TextId::LabelExit, "Thoat"},
    {TextId::LabelAdd, "Them"},
    {TextId::LabelDelete, "Xoa"},
    {TextId::LabelPosX, "Toa Do X"},
    {TextId::LabelPosY, "Toa Do Y"},
    {TextId::LabelOffsetX, "Do Lech X"},
    {TextId::LabelOffsetY, "Do Lech Y"},
    {TextId::LabelScriptPath, "Duong dan den mau Script gan vao NPC:"},
    {TextId::LabelBrowseScript, "Tim"},
    {TextId::LabelExchange, "Exchange"},
    {TextId::LabelType, "NPCType"},
    {TextId::LabelGroup, "NPCGroup"},
    {TextId::LabelSeries, "NPCSeries"},
    {TextId::LabelDrop, "Droprate"},
    {TextId::LabelSave, "Luu"},
    {TextId::LabelName, "Ten NPC"},
    {TextId::LabelEditScript, "Sua"},
    {TextId::LabelFindName, "Ten NPC"},
    {TextId::LabelFindAll, "Tim kiem tat ca"},
    {TextId::LabelFindX, "Toa Do X"},
    {TextId::LabelFindY, "Toa Do Y"},
    {TextId::LabelHintPlaceholder, "Chon ban do o danh sach ben trai"},
    {TextId::LabelModify, "Sua"},
    {TextId::LabelCancelEdit, "Thoat"},
    {TextId::LabelFindNext, "Chi tim mot"},
    {TextId::LabelContinue, "Tiep Tuc..."},
    {TextId::LabelContact, "MorviNpc " MORVI_VERSION_SHORT "\nLien he qua\ntrang du an:"},

    // --- the placement list's column headings ("Pos   x" and "Pos   y" hold three blanks) ---
    {TextId::ColumnName, "Name"},
    {TextId::ColumnPosX, "Pos   x"},
    {TextId::ColumnMoveX, "x Move"},
    {TextId::ColumnPosY, "Pos   y"},
    {TextId::ColumnMoveY, "y Move"},
    {TextId::ColumnType, "Type"},
    {TextId::ColumnGroup, "Group"},
    {TextId::ColumnSeries, "Serie"},
    {TextId::ColumnMoney, "Money"},
    {TextId::ColumnScript, "Script"},

    // --- the About box ---
    {TextId::AboutCaption, "About"},
    {TextId::AboutTitleLine, "MorviNpc Version " MORVI_VERSION_SHORT},
    {TextId::AboutPurposeLine, "NPC placement editor for map regions"},
    {TextId::AboutClose, "Thoat"},
    {TextId::AboutHost, "morvinpc.example.org"},
    {TextId::AboutMoreInfo, "More Info :"},

    // --- the main window's link, and why a selected row was not deleted ---
    {TextId::LinkFailed, "Failed to create hyperlink 1."},
    {TextId::LinkFailedCaption, "Fatal error!"},
    {TextId::DeleteReasonUnreadable, "cannot read the region file: cannot open {}"},
    {TextId::DeleteReasonNoRecord, "no record in the file matches the row"},
    {TextId::DeleteReasonWriteFailed, "write failed"},
    {TextId::DeleteReasonWriteFailedBecause, "write failed: {}"},

    // --- command line: the program's and the subcommands' help ---
    {TextId::CliAbout,
     "morvinpc: list, check and change the NPC placements of a Morvi server's maps.\n"
     "Exit status: 0 done, 1 refused or findings, 2 usage or input/output error."},
    {TextId::CliHelpServer, "server directory (default: ServerPath of MorviConfig.ini in the current directory)"},
    {TextId::CliHelpMap, "map: its index in `maps`, its display name or its directory"},
    {TextId::CliHelpKey, "placement key: template,x,y,offset_x,offset_y,file (as `list` shows them)"},
    {TextId::CliHelpMaps, "list the maps (index, display name, directory)"},
    {TextId::CliHelpTableCsvJson, "table, csv or json"},
    {TextId::CliHelpList, "list a map's placements in the window's order"},
    {TextId::CliHelpListAll, "also list the records the window hides, with the rule each breaks"},
    {TextId::CliHelpCheck, "check the region files of the tree or of one map (read-only)"},
    {TextId::CliHelpAdd, "add a placement, as the window's \"Them\" and \"Luu\""},
    {TextId::CliHelpTemplate, "stored template index N (entry N of `npcs.txt`'s data lines)"},
    {TextId::CliHelpAddFile, "region file (relative to the server directory) instead of the window's random choice"},
    {TextId::CliHelpSet, "change a placement, as the window's \"Sua\" and \"Luu\""},
    {TextId::CliHelpClone, "add a copy of a placement to its own file, as the window's \"复制为新NPC\" and \"Luu\""},
    {TextId::CliHelpRemove, "delete placements, as the window's \"Xoa\" answered with yes"},
    {TextId::CliHelpExport, "write a map's placements as CSV or JSON for `import`"},
    {TextId::CliHelpCsvJson, "csv or json"},
    {TextId::CliHelpImport, "apply a file of the export's shape: additions, changes and deletions by key and file"},
    {TextId::CliHelpImportFile, "CSV (or JSON) file as `export` writes it"},
    {TextId::CliHelpDryRun, "show what would change and write nothing"},
    {TextId::CliHelpHistory, "list the change history of the server tree, newest first"},
    {TextId::CliHelpHistoryJson, "write the entries as JSON"},
    {TextId::CliHelpUndo, "take back the last change, or change ID, when its files still hold what it wrote"},
    {TextId::CliHelpChangeId, "id of a change, as `history` lists it"},
    {TextId::CliHelpRestore, "put a file back as it was before change ID"},
    {TextId::CliHelpForce, "also take back the later changes of that file"},
    {TextId::CliHelpName, "NPC name (\"Ten NPC\")"},
    {TextId::CliHelpX, "X coordinate (\"Toa Do X\")"},
    {TextId::CliHelpY, "Y coordinate (\"Toa Do Y\")"},
    {TextId::CliHelpOffsetX, "X offset 0..255 (\"Do Lech X\"); empty: random"},
    {TextId::CliHelpOffsetY, "Y offset 0..255 (\"Do Lech Y\"); empty: random"},
    {TextId::CliHelpType, "type: Enemy, NPC(Fly), NPC(Ground), TalkNPC; empty: none"},
    {TextId::CliHelpGroup, "group: Enemy, Friend, Jin, Not Hit, Song; empty: none"},
    {TextId::CliHelpSeries, "series: 0..4; empty: none"},
    {TextId::CliHelpDrop, "drop count 0..24 (\"Droprate\")"},
    {TextId::CliHelpScript, "script path below the server directory, e.g. \\script\\npc\\guard.lua"},

    // --- command line: places, lists and the server tree ---
    {TextId::CliAtPlace, "{}:{}: {}"},
    {TextId::CliInFile, "{}: {}"},
    {TextId::CliListSeparator, "; "},
    {TextId::CliListComma, ", "},
    {TextId::CliSystemReason, " ({})"},
    {TextId::CliNoServerDirectory,
     "no server directory: give --server DIR or set ServerPath in the [MorviConfig] section of "
     "MorviConfig.ini in the current directory"},
    {TextId::CliNotADirectory, "server directory {} is not a directory"},
    {TextId::CliNoMapList,
     "no map list: maps/worldset.ini or settings/maplist.ini below {} is missing or malformed, "
     "or its map count is 0"},
    {TextId::CliNoSuchMap,
     "no map {} in the map list (give its index, display name or directory; `morvinpc maps` "
     "lists them)"},
    {TextId::CliCannotRead, "cannot read {}"},
    {TextId::CliCannotReadTemplates, "cannot read the template table {}"},
    {TextId::CliCannotReadMapsDirectory, "cannot read the maps directory {}"},
    {TextId::CliUnknownFormat, "unknown format {}"},

    // --- command line: placement keys and field values ---
    {TextId::CliBadKey, "KEY must be template,x,y,offset_x,offset_y,file (as `list` shows them), not \"{}\""},
    {TextId::CliKeyWithoutFile, "KEY names no region file: \"{}\""},
    {TextId::CliSomeField, "a field"},
    {TextId::CliNotWholeNumber, "{} must be a whole number, not \"{}\""},
    {TextId::CliNotBetween, "{} must lie between {} and {}"},
    {TextId::CliNotOneOf, "{} \"{}\" is not one of: {} (or empty for none)"},
    {TextId::CliNotValid, "{} is not valid"},
    {TextId::CliNotStorable, "{} holds a character that code page 936 (GBK) cannot store"},
    {TextId::CliTooManyBytes, "{} must take at most {} bytes in code page 936 (GBK)"},

    // --- command line: why the map document refused or failed ---
    {TextId::CliTheRegionFile, "the region file"},
    {TextId::CliNoRegionFileToAddTo, "the map has no region file to add to"},
    {TextId::CliRowGone, "the placement is no longer listed"},
    {TextId::CliKeyGone, "the placement is no longer in {} (changed since it was read?)"},
    {TextId::CliNotTiled, "{}: its records do not fill the file exactly, so it is left alone (see `morvinpc check`)"},
    {TextId::CliCountFull, "{} already holds 65535 placements, as many as its count can say"},
    {TextId::CliHistoryFailed, "the change could not be recorded in the change history"},
    {TextId::CliLockFailed, "{} could not be locked for writing"},
    {TextId::CliWriteFailed, "{} could not be written{}; it is as it was"},
    {TextId::CliChangedMeanwhile, "{} changed while the change was being made"},
    {TextId::CliNothingToUndo, "nothing to undo"},
    {TextId::CliNothingToRedo, "nothing to redo"},
    {TextId::CliRevertRefused, "{} no longer holds the bytes the change wrote"},
    {TextId::CliOperationFailed, "the operation failed"},

    // --- command line: `add`, `set`, `clone` and `rm` ---
    {TextId::CliWarnHidden, "warning: written, but the window will not list this placement ({})"},
    {TextId::CliWarnKeyShared,
     "warning: {} now holds {} records with the key {}; set and rm reach only the first of them"},
    {TextId::CliWarnChangedSinceRead,
     "warning: {} was changed by another program since it was read; list the map again to see "
     "it as it is"},
    {TextId::CliNoMatch, "no placement of map {} matches {}"},
    {TextId::CliNotRegionFileOfMap, "{} is not a region file of map {}"},
    {TextId::CliAddNeedsTemplate,
     "add needs --template N, the stored index of an NPC template (1..{}); nothing added"},
    {TextId::CliTemplateBetween, "--template must lie between 1 and {}"},
    {TextId::CliNothingAddedToMap, "nothing added to map {}"},
    {TextId::CliNothingAddedTo, "nothing added to {}"},
    {TextId::CliNothingWritten, "nothing written"},
    {TextId::CliNothingRemoved, "nothing removed"},
    {TextId::CliNotRemoved, "not removed {} \"{}\": {}"},
    {TextId::CliRemovedOf, "removed {} of the {} placements asked for"},

    // --- command line: `check` ---
    {TextId::CliCheckTemplateOutside, "template index {} outside the template table (the window lists 1..{})"},
    {TextId::CliCheckNameNotGbk, "name is not valid GBK: \"{}\""},
    {TextId::CliCheckScriptNotGbk, "script path is not valid GBK: \"{}\""},
    {TextId::CliCheckScriptWithoutBackslash, "script path \"{}\" does not start with '\\'"},
    {TextId::CliCheckScriptMissing, "script file \"{}\" not found under the server directory"},
    {TextId::CliCheckHeaderCutOff, "file ends inside the NPC section header ({} bytes)"},
    {TextId::CliCheckRecordCutOff, "record cut off by the end of the file: {} bytes long, {} present"},
    {TextId::CliCheckCountMismatch, "placement count {} does not match the {} records that tile the file"},
    {TextId::CliCheckSummary, "checked {} region files: {} findings in {} files"},

    // --- command line: `import` ---
    {TextId::CliUnclosedQuote, "line {}: a quoted field is not closed"},
    {TextId::CliHeaderExpected, "the first line must be the export's header: {}"},
    {TextId::CliFieldCount, "line {}: {} fields, {} expected"},
    {TextId::CliNotJsonArray, "not a JSON array of placements"},
    {TextId::CliElementNotObject, "element {}: not an object"},
    {TextId::CliElementWithout, "element {}: no \"{}\""},
    {TextId::CliElementBadValue, "element {}: \"{}\" must be a text or a whole number"},
    {TextId::CliTemplateNotNumber, "template \"{}\" is not a number"},
    {TextId::CliRowFileNotOfMap, "\"{}\" is not a region file of map {}"},
    {TextId::CliTemplateNotInTable, "template {} is not in the template table (1..{})"},
    {TextId::CliRecordCutOff,
     "the record at offset {} is cut off by the end of the file; the file is left alone (see "
     "`morvinpc check`)"},
    {TextId::CliPlanAdd, "add    {}: \"{}\""},
    {TextId::CliPlanDelete, "delete {}: \"{}\""},
    {TextId::CliPlanChange, "change {}: {}"},
    {TextId::CliPlanCell, "{} \"{}\" -> \"{}\""},
    {TextId::CliNothingToImport, "nothing to import: map {} already matches {}"},
    {TextId::CliImportCounts, "{} additions, {} changes, {} deletions in {} region files"},
    {TextId::CliDryRun, "dry run: no file written"},
    {TextId::CliImportStopped, "import stopped: {}"},
    {TextId::CliNoRegionFileChanged, "no region file changed"},
    {TextId::CliRestoreFailed, "could not restore the files already written, they hold the imported content: {}"},
    {TextId::CliWrote, "wrote {} region files"},

    // --- command line: `history`, `undo` and `restore` ---
    {TextId::CliHistoryStep, "step {}"},
    {TextId::CliHistoryRecords, "{} records"},
    {TextId::CliNoSuchChange, "there is no change {} in the history; nothing written"},
    {TextId::CliNoChangeToUndo, "no change to undo in the history of {}"},
    {TextId::CliUndoOfChange, "undo of change {}"},
    {TextId::CliRestoreOfChange, "restore of the file before change {}"},
    {TextId::CliRevertNotDone, "{} refused: {}"},
    {TextId::CliRevertDone, "{} done as change {}: {}"},
    {TextId::CliVersionHelp, "print the version and exit"},

    // --- start from the desktop menu ---
    {TextId::UserConfigNoHome,
     "无法确定配置目录 (XDG_CONFIG_HOME 与 HOME 都不是绝对路径), MorviConfig.ini 将保存在当前目录"},
    {TextId::UserConfigUnusable, "无法使用配置目录 {}: {}, MorviConfig.ini 将保存在当前目录"},

    {TextId::ListFilterCue, "筛选NPC配置"},
    {TextId::ListFilterTip,
     "筛选NPC配置: 空格分隔的条件都须满足; 字段:值 (name template x y ox oy type group series drop script "
     "file), 数字可写 N 或 A-B; 其他文字匹配名称、脚本或文件"},
    {TextId::ListShown, "显示 {} / {} 行"},
    {TextId::ListSelected, "选中 {} 行"},
    {TextId::ListTypeCount, "{} {}"},
    {TextId::FilterUnknownField, "筛选条件 {} 的字段未知"},
    {TextId::FilterBadNumber, "筛选条件 {} 的数字无效 (应为 N 或 A-B)"},
    {TextId::FilterBadRange, "筛选条件 {} 的范围颠倒 (A-B 中 A 大于 B)"},
    {TextId::FilterUnknownName, "筛选条件 {} 的名称或代码未知"},
    {TextId::OperationUndo, "撤销"},
    {TextId::OperationRedo, "重做"},
    {TextId::StatusStepBack, "{}  {}  第 {} 步  {}"},

    {TextId::MenuBulkEdit, "批量修改…"},
    {TextId::BulkEditCaption, "批量修改"},
    {TextId::BulkEditLeave, "(不变)"},
    {TextId::BulkEditScriptLabel, "Script"},
    {TextId::BulkEditMoveLabel, "Move dX / dY"},
    {TextId::BulkEditNoSelection, "请先在列表中选择要批量修改的NPC!"},
    {TextId::BulkEditNothingSet, "没有设置要修改的项目,未修改任何NPC!"},
    {TextId::BulkEditBadNumber, "{} 必须是整数,未修改任何NPC!"},
    {TextId::BulkEditDone, "批量修改完成!选中[{}]条,实际修改[{}]条!"},
    {TextId::BulkEditRowsRefused, "{} 条未修改: {}"},
    {TextId::BulkEditMore, " 等 {} 条"},
    {TextId::OperationBulkEdit, "批量修改"},
    {TextId::MapViewEditMarks, "拖动选中的点 = 移动 · 双击空白处 = 新NPC · Del = 删除选中"},
    {TextId::OperationMapMove, "地图上移动"},
    {TextId::BulkEditClearScript, "清除 Script"},
    // --- command line: `check`'s further findings, `diff`, `find` ---
    {TextId::CliHelpCheckFormat, "table (what the server trips over) or json (every finding with its stable code)"},
    {TextId::CliHelpCheckAll, "the table also lists hidden records, duplicate keys and exact duplicates"},
    {TextId::CliCheckHidden, "the window does not list this record: {}"},
    {TextId::CliHiddenEmptyName, "its name is empty"},
    {TextId::CliHiddenTemplateZero, "its template index is 0"},
    {TextId::CliHiddenTemplateBeyond, "its template index is beyond the template table"},
    {TextId::CliHiddenXTooLarge, "x is not below 1000"},
    {TextId::CliHiddenYTooLarge, "y is not below 500"},
    {TextId::CliHiddenNotCounted, "the placement count does not include it"},
    {TextId::CliCheckDuplicateKey, "a second record with the key {} of the record at offset {}: changes and deletions by key never reach it"},
    {TextId::CliCheckExactDuplicate, "the same placement, byte for byte, as the one at {}:{}"},
    {TextId::CliHelpDiff, "list the placements this tree adds, changes and removes compared with another server tree"},
    {TextId::CliHelpDiffOther, "the other server directory"},
    {TextId::CliHelpDiffFormat, "table; csv: the map's rows for `import` on the other tree; or json: every difference, with stable codes"},
    {TextId::CliDiffMap, "map {} \"{}\" ({}){}: {} added, {} changed, {} removed"},
    {TextId::CliDiffOtherMap, "the other tree's map {} \"{}\" ({}): only in the other tree: {} added, {} changed, {} removed"},
    {TextId::CliDiffMapOnlyHereNote, ": only in this tree"},
    {TextId::CliDiffOtherIndexNote, ", index {} in the other tree"},
    {TextId::CliDiffFileOnlyHere, "{} (only in this tree)"},
    {TextId::CliDiffFileOnlyThere, "{} (only in the other tree)"},
    {TextId::CliDiffNotCarried, "not carried by import: {}"},
    {TextId::CliDiffAdded, "added    {} \"{}\""},
    {TextId::CliDiffRemoved, "removed  {} \"{}\""},
    {TextId::CliDiffChanged, "changed  {}: {}"},
    {TextId::CliDiffField, "{} \"{}\" -> \"{}\""},
    {TextId::CliDiffBytesNotShown, "bytes no column shows"},
    {TextId::CliDiffOccurrence, " (record {} of this key)"},
    {TextId::CliDiffSummary, "{} maps differ"},
    {TextId::CliDiffSummaryNotCarried, "{} maps differ; {} differences cannot be carried by import"},
    {TextId::CliDiffNothingToWrite, "no differences: nothing to write"},
    {TextId::CliDiffNameTheMap, "{} maps differ; import applies one map at a time, so name the map:"},
    {TextId::CliDiffMapOneSide, "map {}: {}; import cannot carry it"},
    {TextId::CliDiffNoMap, "no map {} to compare"},
    {TextId::CliDiffNotCarriedAt, "not carried by import: {}: {}"},
    {TextId::CliDiffApplyWith, "apply with: morvinpc --server {} import {} FILE"},
    {TextId::CliDiffWhyHiddenHere, "the window hides it in this tree, so the export leaves it out"},
    {TextId::CliDiffWhyHiddenThere, "the window hides it in the other tree, and import never deletes such a record"},
    {TextId::CliDiffWhyNotAtEnd, "it stands before records both trees hold, and import appends new records at the end of the file"},
    {TextId::CliDiffWhyOrder, "records both trees hold stand in another order"},
    {TextId::CliDiffWhyBytesNotShown, "bytes that no column shows differ"},
    {TextId::CliDiffWhyNotRepresentable, "its row's texts do not read back to the same bytes"},
    {TextId::CliDiffWhyKeyShared, "its key is shared with records the window hides, which pair otherwise"},
    {TextId::CliDiffWhyFileOnlyHere, "the region file exists only in this tree, and import creates no file"},
    {TextId::CliDiffWhyFileOnlyThere, "the region file exists only in the other tree; import would empty it but not remove it"},
    {TextId::CliDiffWhyForeign, "the file's bytes outside the placement records differ"},
    {TextId::CliDiffWhyMapOnlyHere, "the map is only in this tree's map list"},
    {TextId::CliDiffWhyMapOnlyThere, "the map is only in the other tree's map list"},
    {TextId::CliDiffWhyUnreadable, "the region file cannot be read"},
    {TextId::CliHelpFind, "find placements in every map of the map list"},
    {TextId::CliHelpFindFilter, "filter: terms such as name:guard x:100-200 type:TalkNPC script:* (all must match)"},
    {TextId::CliFindBadFilter, "filter term \"{}\": {}"},
    {TextId::CliFilterUnknownField, "unknown field (name template x y ox oy type group series drop script file)"},
    {TextId::CliFilterBadNumber, "not a number N or a range A-B"},
    {TextId::CliFilterBadRange, "a range A-B with A greater than B"},
    {TextId::CliFilterUnknownName, "neither a shown name nor a code"},
    {TextId::CliFindMapSkipped, "map {} \"{}\" skipped: cannot read {}"},
    {TextId::CliFindSummary, "{} placements in {} of {} maps match"},
    // --- problems panel, files changed on disk ---
    {TextId::ProblemsCaption, "问题列表"},
    {TextId::ProblemsMenu, "问题列表…"},
    {TextId::ProblemsColumnMap, "地图"},
    {TextId::ProblemsColumnFile, "文件"},
    {TextId::ProblemsColumnOffset, "偏移"},
    {TextId::ProblemsColumnRow, "行"},
    {TextId::ProblemsColumnReason, "问题"},
    {TextId::ProblemsCheckMap, "检查本地图"},
    {TextId::ProblemsCheckEveryMap, "检查所有地图"},
    {TextId::ProblemsCancel, "取消"},
    {TextId::ProblemsFixDuplicate, "删除重复的记录"},
    {TextId::ProblemsFixHidden, "删除隐藏的记录"},
    {TextId::ProblemsNoFix, "(无安全修复)"},
    {TextId::ProblemsProgress, "正在检查 {} / {} 个地图: {}"},
    {TextId::ProblemsSummary, "{} 个问题, 检查了 {} 个地图的 {} 个文件"},
    {TextId::ProblemsCancelled, "已取消: {} 个问题, 检查了 {} 个地图的 {} 个文件"},
    {TextId::ProblemsNoMap, "请先选择地图"},
    {TextId::ProblemsMapSkipped, "无法读取地图列表"},
    {TextId::ProblemsUnreadable, "无法读取此文件"},
    {TextId::ProblemsHeaderCutOff, "文件在NPC段头内结束 ({} 字节)"},
    {TextId::ProblemsRecordCutOff, "记录被文件结尾截断: 长 {} 字节, 只有 {} 字节"},
    {TextId::ProblemsForeignBytes, "最后一条记录后有不成记录的字节: 需 {} 字节, 只有 {} 字节"},
    {TextId::ProblemsCountMismatch, "NPC数量 {} 与文件中的 {} 条记录不符"},
    {TextId::ProblemsTemplateOutside, "模板编号 {} 不在模板表内 (列表只显示 1..{}), 列表不显示此记录"},
    {TextId::ProblemsHidden, "列表不显示此记录: {}"},
    {TextId::ProblemsHiddenEmptyName, "名称为空"},
    {TextId::ProblemsHiddenTemplateZero, "模板编号为 0"},
    {TextId::ProblemsHiddenTemplateBeyond, "模板编号超出模板表"},
    {TextId::ProblemsHiddenXTooLarge, "X 不小于 1000"},
    {TextId::ProblemsHiddenYTooLarge, "Y 不小于 500"},
    {TextId::ProblemsHiddenNotCounted, "不在NPC数量之内"},
    {TextId::ProblemsNameNotGbk, "名称含有不是 GBK 的字节"},
    {TextId::ProblemsScriptNotGbk, "脚本路径含有不是 GBK 的字节"},
    {TextId::ProblemsScriptWithoutBackslash, "脚本路径 {} 不以 \\ 开头"},
    {TextId::ProblemsScriptMissing, "脚本文件 {} 在服务器目录下不存在"},
    {TextId::ProblemsDuplicateKey, "与偏移 {} 的记录键相同, 修改和删除只会找到前一条"},
    {TextId::ProblemsExactDuplicate, "与 {}:{} 的记录完全相同 (同一位置重复)"},
    {TextId::ProblemsRowNotListed, "列表不显示这条记录"},
    {TextId::ProblemsRowFilteredOut, "这条记录被列表的筛选条件隐藏"},
    {TextId::ProblemsRowGone, "列表中已没有这条记录, 请重新检查"},
    {TextId::ProblemsFixQuestion, "从 {} 删除这条记录?\n{}"},
    {TextId::ProblemsFixDone, "已删除 1 条记录 (Ctrl+Z 撤销)"},
    {TextId::ProblemsFixRefused, "未删除: 文件已改变, 请重新检查 ({})"},
    {TextId::ProblemsFixOtherMap, "请先读取这个地图再修复"},
    {TextId::ProblemsKeyTip, "问题列表 (Ctrl+Shift+M)"},
    {TextId::DiskChangedOne, "{} 已被其他程序修改 — 按 F5 重新读取"},
    {TextId::DiskChangedMany, "{} 等 {} 个文件已被其他程序修改 — 按 F5 重新读取"},
    {TextId::DiskReloaded, "已重新读取地图: {} 行"},

    // --- languages: the menu, and each language by its own name ---
    {TextId::MenuLanguage, "语言 / Language"},
    {TextId::LanguageOriginal, "原始 (中文 / Tieng Viet)"},
    {TextId::LanguageEnglish, "English"},
    {TextId::LanguageVietnamese, "Tiếng Việt"},

    // --- find in every map, compare with another server (windows) ---
    {TextId::FindAllMenu, "在所有地图中查找"},
    {TextId::FindAllFilterCue, "筛选条件, 例如 name:守卫 x:100-200 type:TalkNPC script:*"},
    {TextId::FindAllFilterTip, "字段: name template x y ox oy type group series drop script file; 多个条件须全部满足; 回车开始查找"},
    {TextId::FindAllSearch, "查找"},
    {TextId::FindAllStop, "停止"},
    {TextId::FindAllColumnMap, "地图"},
    {TextId::FindAllColumnFile, "文件"},
    {TextId::FindAllRunning, "正在查找: 地图 {}/{} {} · 文件 {}/{} · 已找到 {} 条"},
    {TextId::FindAllDone, "找到 {} 条, 在 {} 个地图中 (共 {} 个地图)"},
    {TextId::FindAllCancelled, "查找已停止: 已找到 {} 条 (已查完 {} / {} 个地图)"},
    {TextId::FindAllSkipped, "地图 {} \"{}\" 已跳过: 无法读取 {}"},
    {TextId::FindAllNoMapList, "无法读取地图列表 (maps\\worldset.ini, settings\\maplist.ini)"},
    {TextId::FindAllOpenHint, "双击结果: 在主窗口中打开该地图并选中该NPC"},
    {TextId::FindAllOpened, "已在主窗口中选中: 地图 {} 中的 {}"},
    {TextId::FindAllMapNotListed, "主窗口的地图列表中已没有地图 {}"},
    {TextId::FindAllPlacementGone, "地图 {} 中已找不到该NPC (文件已被修改): {}"},
    {TextId::CompareMenu, "与其他服务器比较…"},
    {TextId::CompareOtherLabel, "其他服务器目录:"},
    {TextId::CompareBrowse, "浏览…"},
    {TextId::CompareRun, "比较"},
    {TextId::CompareFilterCue, "筛选差异 (与查找相同的筛选条件)"},
    {TextId::CompareColumnKind, "变化"},
    {TextId::CompareColumnKey, "键 (模板,X,Y,偏移)"},
    {TextId::CompareColumnFields, "差异"},
    {TextId::CompareAdded, "新增"},
    {TextId::CompareChanged, "修改"},
    {TextId::CompareRemoved, "删除"},
    {TextId::CompareFileOnlyHere, "{} (只在本服务器)"},
    {TextId::CompareFileOnlyThere, "{} (只在其他服务器)"},
    {TextId::CompareNoMap, "请先在主窗口中选择一个地图"},
    {TextId::CompareNoOther, "请指定其他服务器的目录"},
    {TextId::CompareOtherNoMapList, "无法读取其他服务器的地图列表: {}"},
    {TextId::CompareRunning, "正在比较地图 {} …"},
    {TextId::CompareDone, "地图 {}: 新增 {} 条, 修改 {} 条, 删除 {} 条 (显示 {} / {} 条)"},
    {TextId::CompareSame, "地图 {} 在两个服务器中相同"},
    {TextId::CompareMapOnlyHere, "地图 {} 不在其他服务器的地图列表中"},
    {TextId::CompareFieldChange, "{}: {} → {}"},
    {TextId::CompareHiddenBytes, "未显示的字节不同"},
    // --- command line: `list`, `rm` and `set` with --where ---
    {TextId::CliHelpWhere, "the placements matching a filter instead of KEY: terms such as name:guard x:100-200 script:* (all must match)"},
    {TextId::CliHelpMove, "move every matching placement by DX,DY (with --where)"},
    {TextId::CliWhereAndKey, "give KEY or --where FILTER, not both"},
    {TextId::CliKeyOrWhere, "give KEY or --where FILTER"},
    {TextId::CliWhereCannotSet, "{} cannot be given with --where: a change of many placements sets --type, --group, --series, --drop, --script, --offset-x, --offset-y and --move"},
    {TextId::CliWhereNothingToSet, "nothing to change: give a field option or --move"},
    {TextId::CliMoveWithoutWhere, "--move needs --where FILTER"},
    {TextId::CliBadMove, "--move must be DX,DY (two whole numbers), not \"{}\""},
    {TextId::CliMoveOutside, "the move would take {} outside 0 to {}"},
    {TextId::CliNotChanged, "not changed {} \"{}\": {}"},
    {TextId::CliChangedOf, "changed {} of the {} matching placements"},
    {TextId::CliListMatched, "{} of {} placements match"},
    {TextId::CliPlanNoFieldChanges, "no shown field changes"},
};

constexpr bool TextsInIdOrder() {
    if (std::size(kProgramTexts) != static_cast<size_t>(TextId::Count)) return false;
    for (size_t i = 0; i < std::size(kProgramTexts); ++i)
        if (static_cast<size_t>(kProgramTexts[i].id) != i) return false;
    return true;
}
static_assert(TextsInIdOrder(), "every text id has its one entry, in the order of TextId");

// The number of {} places in a text.
constexpr size_t PlaceCount(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '{' && text[i + 1] == '}') {
            ++count;
            ++i;
        }
    return count;
}

// The text of `id` (empty for TextId::Count and beyond).
std::string_view Text(TextId id);

// The text of `id` with each {} replaced by the next argument (missing ones stay empty,
// extra ones are ignored). For an id chosen while the program runs; Format checks more.
std::string FormatArgs(TextId id, std::span<const std::string_view> args);
inline std::string FormatChosen(TextId id, std::initializer_list<std::string_view> args) {
    return FormatArgs(id, std::span<const std::string_view>(args.begin(), args.size()));
}

// A text id whose text has exactly N places. Made only while the program is compiled: a call
// of Format whose arguments do not match its text's places does not compile (the error
// points here).
template <size_t N>
class TextWithPlaces {
public:
    consteval TextWithPlaces(TextId id) : m_id(id) {
        if (static_cast<size_t>(id) >= std::size(kProgramTexts) ||
            PlaceCount(kProgramTexts[static_cast<size_t>(id)].text) != N)
            throw "Format: the number of arguments differs from the number of {} places of the text";
    }
    TextId Id() const { return m_id; }

private:
    TextId m_id;
};

// The text of `id` with each {} replaced by the next argument: Format(TextId::X, {a, b}).
template <size_t N>
std::string Format(std::type_identity_t<TextWithPlaces<N>> id, const std::string_view (&args)[N]) {
    return FormatArgs(id.Id(), args);
}

}  // namespace morvi
