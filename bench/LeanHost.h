#pragma once
// A window-less host that costs next to nothing, so that timing CPlacementDlg::LoadMapPlacements
// through it measures the window logic's own work: finding the region files, reading and
// parsing them, the listing rules and the texts of every row. Rows are counted and their
// texts summed, not kept: keeping them is the real list's job and is measured with the window.

#include <array>
#include <string>
#include <vector>

#include "dialog/DialogHost.h"

namespace morvi::bench {

class LeanList : public PlacementListHost {
public:
    int RowCount() const override { return m_rows; }
    void InsertTopRow(RowTexts row) override;
    void InsertTopRowViews(const RowViews& row) override;
    std::string CellText(int, int) const override { return {}; }
    void SetCellText(int, int, const std::string&) override {}
    void DeleteRow(int) override { --m_rows; }
    void DeleteAllRows() override { m_rows = 0; }
    int NextSelectedRow(int) const override { return -1; }
    void SelectRow(int) override {}
    void ScrollRowToTop(int) override {}
    void RepaintNow() override {}

    size_t TextBytes() const { return m_textBytes; }

private:
    int m_rows = 0;
    size_t m_textBytes = 0;
};

class LeanHost : public DialogHost {
public:
    std::string ItemText(int id) const override { return Slot(id); }
    void SetItemText(int id, const std::string& text) override { Slot(id) = text; }
    void UpdateItemNow(int) override {}
    void FocusItem(int) override {}
    bool IsItemChecked(int) const override { return false; }

    int ListBoxCount(int id) const override { return static_cast<int>(Box(id).size()); }
    void ListBoxAdd(int id, const std::string& text) override { Box(id).push_back(text); }
    void ListBoxDelete(int id, int index) override;
    std::string ListBoxText(int id, int index) const override;
    int ListBoxSelection(int id) const override { return id == IDC_MAP_LIST ? mapSelection : -1; }
    void ListBoxSetSelection(int id, int index) override {
        if (id == IDC_MAP_LIST) mapSelection = index;
    }

    int ComboCount(int id) const override { return static_cast<int>(Box(id).size()); }
    void ComboInsert(int id, int index, const std::string& text) override;
    std::string ComboItemText(int id, int index) const override { return ListBoxText(id, index); }
    int ComboSelection(int) const override { return -1; }
    void ComboSetSelection(int, int) override {}

    PlacementListHost& Placements() override { return list; }

    MessageAnswer ShowMessage(const std::string&, const std::string&, MessageButtons, MessageIcon) override {
        return MessageAnswer::No;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToOpen(const std::vector<FileFilter>&, const std::string&) override {
        return std::nullopt;
    }
    void OpenInEditor(const std::string&) override {}
    void ShowAboutBox() override {}
    void EndDialog(int) override {}
    uint32_t TickCount() override { return 0; }
    std::string CurrentDirectory() override { return "."; }

    LeanList list;
    int mapSelection = -1;

private:
    static constexpr int kFirstId = 1000;
    std::string& Slot(int id) { return m_texts.at(static_cast<size_t>(id - kFirstId)); }
    const std::string& Slot(int id) const { return m_texts.at(static_cast<size_t>(id - kFirstId)); }
    std::vector<std::string>& Box(int id) { return m_boxes.at(static_cast<size_t>(id - kFirstId)); }
    const std::vector<std::string>& Box(int id) const { return m_boxes.at(static_cast<size_t>(id - kFirstId)); }

    std::array<std::string, 64> m_texts;
    std::array<std::vector<std::string>, 64> m_boxes;
};

}  // namespace morvi::bench
