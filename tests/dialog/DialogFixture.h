#pragma once
// A dialog on a generated server tree, driven through the fake host: the working directory
// holds MorviConfig.ini pointing at the tree, and OnInitDialog has run.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogTestAccess.h"
#include "dialog/MemoryHost.h"
#include "TestFiles.h"
#include "TreeGenerator.h"
#include "dialog/CPlacementDlg.h"

namespace morvi::test {

class DialogFixture : public ::testing::Test {
protected:
    // Generates the tree (override `shape` before calling), configures and opens the dialog.
    void Open(const tools::TreeShape& shape = {}) {
        tools::GenerateServerTree(server(), shape);
        WriteFile(work() + "/MorviConfig.ini", "[MorviConfig]\r\nServerPath=" + server() + "\r\n");
        OpenWithoutTree();
    }
    // Opens the dialog on whatever server() and work() hold now.
    void OpenWithoutTree() {
        host.currentDirectory = work();
        dlg = std::make_unique<CPlacementDlg>(host);
        // The change history of these tests lives beside their tree, never in the user's.
        dlg->SetHistoryDirectory(historyDir());
        host.Attach(dlg.get());
        dlg->OnInitDialog();
    }
    // Selects a map as the user would and lets the dialog load it.
    void SelectMap(int index) {
        host.SelectListBox(IDC_MAP_LIST, index);
        dlg->LoadMapPlacements();
    }

    // The first list row, from the top, that shows this name; -1 when none does.
    int RowNamed(const std::string& name) const {
        for (int row = 0; row < host.list.RowCount(); ++row)
            if (host.list.CellText(row, COL_NAME) == name) return row;
        return -1;
    }
    // Selects exactly the rows of these names.
    void SelectNamed(const std::vector<std::string>& names) {
        host.list.ClearSelection();
        for (const std::string& n : names) host.list.SelectRow(RowNamed(n));
    }

    std::string server() const { return NativeForm(dir.path() + "/server"); }
    std::string work() const { return dir.path() + "/work"; }
    // Outside the tree the tests compare before and after.
    std::string historyDir() const { return historyRoot.path() + "/history"; }

    TempDir dir;
    TempDir historyRoot;
    MemoryHost host;
    std::unique_ptr<CPlacementDlg> dlg;
};

// One map (index 0, directory map10) with no region files of its own, for tests that write the
// exact region files they need; the template list has 40 entries.
class EmptyMapFixture : public DialogFixture {
protected:
    void SetUp() override {
        tools::TreeShape shape;
        shape.maps = 1;
        shape.filesPerMap = 0;
        Open(shape);
    }
    std::string MapDir() const { return server() + "/maps/map10"; }
    std::string MapFile(const std::string& relative) const { return NativeForm(MapDir() + "/" + relative); }
};

}  // namespace morvi::test
