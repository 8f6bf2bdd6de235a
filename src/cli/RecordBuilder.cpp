#include "cli/RecordBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cli/EditFields.h"
#include "cli/RegionScan.h"
#include "data/ScratchDirectory.h"
#include "data/WidePath.h"

namespace fs = std::filesystem;

namespace morvi::cli {

RecordBuilder::RecordBuilder(Session& session, int map) : m_session(session) {
    // Every scratch save is made durable by the window's crash-safe write; in a memory file
    // system that costs nothing, on a disk it costs a flush per record.
    m_directory = CreateScratchDirectory("morvinpc");
    if (m_directory.empty()) {
        m_setupError = "cannot create a temporary directory";
        return;
    }
    m_scratch = m_directory + "/scratch_S.DAT";
    m_session.host.SelectListBox(IDC_MAP_LIST, map);
    m_session.dlg.m_addTargetFile = m_scratch;
}

RecordBuilder::~RecordBuilder() {
    if (m_directory.empty()) return;
    std::error_code ec;
    fs::remove_all(FsPath(m_directory), ec);
}

bool RecordBuilder::Ready(std::string* error) const {
    if (!m_setupError.empty() && error) *error = m_setupError;
    return m_setupError.empty();
}

bool RecordBuilder::WriteScratch(const PlacementRecord* record) {
    std::string image(static_cast<size_t>(kFirstRecordOffset), '\0');
    if (record) {
        image[kNpcSectionOffset] = 1;
        AppendPlacementBytes(image, record->block, record->script);
    }
    std::ofstream file(FsPath(m_scratch), std::ios::binary | std::ios::trunc);
    file.write(image.data(), static_cast<std::streamsize>(image.size()));
    return static_cast<bool>(file);
}

std::optional<PlacementRecord> RecordBuilder::ReadScratch(std::string* error) const {
    RegionScan scan;
    if (!ScanRegionFile(m_scratch, scan) || scan.counted.size() != 1) {
        *error = "cannot read back the scratch record";
        return std::nullopt;
    }
    return scan.counted.front().record;
}

std::optional<PlacementRecord> RecordBuilder::Change(const PlacementRecord& old, const RowTexts& wanted,
                                                     std::string* error) {
    HeadlessHost& host = m_session.host;
    CPlacementDlg& dlg = m_session.dlg;
    if (!WriteScratch(&old)) {
        *error = "cannot write the scratch file";
        return std::nullopt;
    }
    host.List().DeleteAllRows();
    host.List().InsertTopRow(WindowRow(old, m_scratch));
    host.List().SelectOnly(0);
    dlg.ResetEditArea();
    dlg.m_searchPos = -1;
    dlg.BeginEdit();
    if (dlg.m_editMode != EDIT_MODIFY) {
        *error = host.Hint();
        return std::nullopt;
    }
    if (!FillEditArea(host, FieldsFromRow(wanted), error)) return std::nullopt;
    const size_t hints = host.HintHistory().size();
    dlg.OnSave();
    if (dlg.m_editMode == EDIT_MODIFY) {
        *error = HintSince(host, hints);
        if (error->empty()) *error = "the window did not save the change";
        return std::nullopt;
    }
    return ReadScratch(error);
}

std::optional<PlacementRecord> RecordBuilder::Add(int templateIndex, const RowTexts& wanted, std::string* error) {
    HeadlessHost& host = m_session.host;
    CPlacementDlg& dlg = m_session.dlg;
    if (templateIndex < 1 || templateIndex > m_session.TemplateCount()) {
        *error = "template " + std::to_string(templateIndex) + " is not in the template table (1.." +
                 std::to_string(m_session.TemplateCount()) + ")";
        return std::nullopt;
    }
    if (!WriteScratch(nullptr)) {
        *error = "cannot write the scratch file";
        return std::nullopt;
    }
    host.List().DeleteAllRows();
    dlg.ResetEditArea();
    host.SelectListBox(IDC_TEMPLATE_LIST, templateIndex - 1);
    size_t hints = host.HintHistory().size();
    dlg.OnAdd();
    if (dlg.m_editMode != EDIT_ADD) {
        *error = HintSince(host, hints);
        return std::nullopt;
    }
    if (!FillEditArea(host, FieldsFromRow(wanted), error)) return std::nullopt;
    hints = host.HintHistory().size();
    dlg.OnSave();
    if (dlg.m_editMode == EDIT_ADD) {
        *error = HintSince(host, hints);
        if (error->empty()) *error = "the window did not save the placement";
        dlg.ResetEditArea();
        return std::nullopt;
    }
    return ReadScratch(error);
}

}  // namespace morvi::cli
