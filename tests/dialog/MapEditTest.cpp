// Editing on the map view: the gesture's decisions (drag, band, click, double click, keys), the
// move kept inside the listed range, and what the window logic makes of them: one step of the
// history for a move, the add state for a double click, the list's delete for Delete.

#include <optional>

#include "DialogFixture.h"
#include "dialog/MapViewGesture.h"
#include "dialog/MapViewSource.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

TEST(MapMoveClampTest, AMoveIsCutAtTheEdgesOfTheListedRange) {
    const MapViewModel::Bounds sel{false, 100, 50, 900, 400};   // x 100..900, y 50..400
    const struct {
        MapMove wanted, expected;
    } cases[] = {
        {{10, 10}, {10, 10}},
        {{-100, -50}, {-100, -50}},      // exactly onto 0, 0
        {{-101, -51}, {-100, -50}},      // past it: cut
        {{99, 99}, {99, 99}},            // exactly onto 999, 499
        {{500, 500}, {99, 99}},
        {{-5000, 7}, {-100, 7}},         // one axis cut, the other kept
        {{0, 0}, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampMoveToListedRange(c.wanted, sel), c.expected) << c.wanted.dx << "," << c.wanted.dy;

    EXPECT_EQ(ClampMoveToListedRange({5, 5}, MapViewModel::Bounds{}), MapMove{}) << "nothing selected";
    // A placement already outside the range (written by another tool) never moves further out.
    const MapViewModel::Bounds outside{false, 1000, 10, 1200, 20};
    EXPECT_EQ(ClampMoveToListedRange({30, 0}, outside), MapMove{});
    EXPECT_EQ(ClampMoveToListedRange({-30, 0}, outside), (MapMove{-30, 0})) << "back towards the range it may";
    // A selection wider than the range (x 0..1200): that axis stays, the other moves.
    EXPECT_EQ(ClampMoveToListedRange({-30, 4}, {false, 0, 10, 1200, 20}), (MapMove{0, 4}));
}

TEST(MapSpotTest, ADoubleClickNamesAWholePositionInsideTheSpaceOnly) {
    MapViewTransform t;
    t.SetViewport(1024, 524);
    t.Fit();   // one pixel per unit, the space from (12, 12)
    const struct {
        double vx, vy;
        std::optional<MapSpot> spot;
    } cases[] = {
        {12, 12, MapSpot{0, 0}},
        {12 + 300.4, 12 + 40.6, MapSpot{300, 41}},
        {12 + 999, 12 + 499, MapSpot{999, 499}},
        {12 + 999.6, 12 + 10, std::nullopt},   // rounds to 1000
        {5, 20, std::nullopt},
        {500, 12 + 520, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(MapSpotAt(t, c.vx, c.vy), c.spot) << c.vx << "," << c.vy;
}

// Three spots: (300, 40) holding rows 0 and 1, (995, 20) row 2, (200, 60) row 3.
class MapGestureTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.SetViewport(1024, 524);
        t.Fit();
        model.SetPoints({{300, 40, 0, false, 0}, {300, 40, 3, false, 1}, {995, 20, 0, false, 2}, {200, 60, 5, true, 3}});
    }
    MapPointF At(double x, double y) const { return t.ToView(x, y); }
    MapGestureResult DragFrom(MapPointF from, MapPointF to) {
        gesture.Press(MapButton::Left, from.x, from.y);
        gesture.DragTo((from.x + to.x) / 2, (from.y + to.y) / 2);
        gesture.DragTo(to.x, to.y);
        return gesture.Release(to.x, to.y);
    }
    MapViewModel model;
    MapViewTransform t;
    MapViewGesture gesture{model, t};
};

TEST_F(MapGestureTest, DraggingASelectedSpotMovesTheSelectionByWholeUnitsWithinTheRange) {
    const int selected[] = {0, 1, 2};
    model.SetSelectedRows(selected);
    const struct {
        double toX, toY;   // where the pointer goes (map units) from (300, 40)
        MapMove move;
    } cases[] = {
        {290.4, 43.6, {-10, 4}},
        {310.2, 37.8, {4, -2}},   // the spot at 995 stops at 999
        {320, 40, {4, 0}},
        {-50, 40, {-300, 0}},     // the spot at 300 stops at 0
        {300, 900, {0, 459}},     // the spots at y 40 stop at 499
        {300, -10, {0, -20}},
    };
    for (const auto& c : cases) {
        const MapGestureResult r = DragFrom(At(300, 40), At(c.toX, c.toY));
        ASSERT_TRUE(r.move) << c.toX << "," << c.toY;
        EXPECT_EQ(*r.move, c.move) << c.toX << "," << c.toY;
        EXPECT_TRUE(r.picked.empty());
        EXPECT_EQ(gesture.Active(), MapViewGesture::Kind::None);
    }
}

TEST_F(MapGestureTest, ThePreviewFollowsThePointerAndEscapeDropsTheMove) {
    const int selected[] = {3};
    model.SetSelectedRows(selected);
    const MapPointF from = At(200, 60);
    gesture.Press(MapButton::Left, from.x, from.y);
    EXPECT_EQ(gesture.Active(), MapViewGesture::Kind::Move);
    EXPECT_TRUE(gesture.DragTo(from.x + 30, from.y + 5).redraw);
    EXPECT_EQ(gesture.PreviewMove(), (MapMove{30, 5}));
    EXPECT_TRUE(gesture.Key(MapKey::Escape).redraw);
    EXPECT_EQ(gesture.Active(), MapViewGesture::Kind::None);
    const MapGestureResult after = gesture.Release(from.x + 30, from.y + 5);
    EXPECT_FALSE(after.move);
    EXPECT_TRUE(after.picked.empty());
}

TEST_F(MapGestureTest, AJitterBelowTheThresholdIsAClickNotAMove) {
    const int selected[] = {3};
    model.SetSelectedRows(selected);
    const MapPointF from = At(200, 60);
    gesture.Press(MapButton::Left, from.x, from.y);
    gesture.DragTo(from.x + 2, from.y + 1);
    EXPECT_EQ(gesture.PreviewMove(), MapMove{});
    const MapGestureResult r = gesture.Release(from.x + 2, from.y + 1);
    EXPECT_FALSE(r.move);
    EXPECT_EQ(r.picked, std::vector<int>{3});
}

TEST_F(MapGestureTest, FromAnUnselectedSpotOrTheVoidTheLeftButtonPicksAndTheOthersPan) {
    const int selected[] = {2};
    model.SetSelectedRows(selected);
    // A click on the unselected spot of rows 0 and 1 picks both.
    const MapPointF spot = At(300, 40);
    gesture.Press(MapButton::Left, spot.x, spot.y);
    EXPECT_EQ(gesture.Active(), MapViewGesture::Kind::Band);
    EXPECT_EQ(gesture.Release(spot.x, spot.y).picked, (std::vector<int>{0, 1}));
    // A band from the unselected spot over it and row 3: a band, not a move.
    const MapGestureResult band = DragFrom(At(310, 30), At(190, 70));
    EXPECT_FALSE(band.move);
    EXPECT_EQ(band.picked, (std::vector<int>{0, 1, 3}));
    // The right button pans.
    const double before = t.OffsetX();
    gesture.Press(MapButton::Right, 100, 100);
    EXPECT_TRUE(gesture.DragTo(130, 100).redraw);
    EXPECT_EQ(gesture.Release(130, 100).picked.size(), 0u);
    EXPECT_DOUBLE_EQ(t.OffsetX(), before + 30);
}

TEST_F(MapGestureTest, ADoubleClickOnAnEmptySpotAddsThereAndDeleteAsksForTheDelete) {
    const MapPointF empty = At(640, 321);
    const MapGestureResult add = gesture.DoubleClick(empty.x, empty.y);
    ASSERT_TRUE(add.addAt);
    EXPECT_EQ(*add.addAt, (MapSpot{640, 321}));
    const MapPointF occupied = At(200, 61);   // within the hit radius of row 3
    EXPECT_FALSE(gesture.DoubleClick(occupied.x, occupied.y).addAt) << "not an empty spot";
    EXPECT_FALSE(gesture.DoubleClick(3, 3).addAt) << "outside the coordinate space";
    EXPECT_TRUE(gesture.Key(MapKey::Delete).deleteSelection);
    EXPECT_FALSE(gesture.Key(MapKey::Other).deleteSelection);
}

// The window logic under the map: a real map on disk.
constexpr uint32_t kSeed = 5;
const PlacementRecord kA = MakeRecord(2, "A", 300, 1, 40, 1, 0, 0, 0, 3);
const PlacementRecord kB = MakeRecord(3, "B", 995, 2, 20, 2, 3, 1, 2, 1);
const PlacementRecord kC = MakeRecord(4, "C", 200, 3, 60, 3, 5, 0, 0, 0, "\\script\\npc\\long_enough_script_name.lua");

class MapEditTest : public EmptyMapFixture {
protected:
    void SetUp() override {
        EmptyMapFixture::SetUp();
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(kSeed, {kA, kB, kC}));
        SelectMap(0);   // C, B, A from the top
        transform.SetViewport(1024, 524);
        transform.Fit();
    }
    void Select(const std::vector<std::string>& names) { SelectNamed(names); }
    // The map as the window shows it: the list's rows and selection.
    void ShowMap() {
        model.SetPoints(MapPointsFromView(dlg->ListRows()));
        model.SetSelectedRows(SelectedRowsOf(host.list));
    }
    // The front end's part: a drag on the map, and the move it asks for.
    std::optional<CPlacementDlg::BulkEditOutcome> Drag(MapPointF fromMap, MapPointF toMap) {
        ShowMap();
        const MapPointF from = transform.ToView(fromMap.x, fromMap.y), to = transform.ToView(toMap.x, toMap.y);
        gesture.Press(MapButton::Left, from.x, from.y);
        gesture.DragTo(to.x, to.y);
        const MapGestureResult r = gesture.Release(to.x, to.y);
        if (!r.move) return std::nullopt;
        return dlg->OnMapMove(r.move->dx, r.move->dy);
    }
    std::string FileNow() const { return ReadFile(MapFile("a_S.DAT")); }
    std::string Image(const std::vector<PlacementRecord>& records) const { return tools::MakeRegionImage(kSeed, records); }
    static PlacementRecord Moved(PlacementRecord r, int x, int y) {
        r.block.SetPosX(static_cast<uint16_t>(x));
        r.block.SetPosYDoubled(static_cast<uint16_t>(y * 2));
        return r;
    }

    MapViewModel model;
    MapViewTransform transform;
    MapViewGesture gesture{model, transform};
};

TEST_F(MapEditTest, ADragMovesTheSelectedPlacementsInOneStepClampedAtTheEdges) {
    const std::string before = FileNow();
    // A at (300, 40) and B at (995, 20): a move may go 300 left, 4 right, 20 up, 459 down.
    const struct {
        MapPointF to;   // where A is dragged
        int ax, ay, bx, by;
    } cases[] = {
        {{312, 35}, 304, 35, 999, 15},   // cut at B's right edge
        {{290, 50}, 290, 50, 985, 30},
        {{-20, -20}, 0, 20, 695, 0},     // cut at A's left edge and B's top edge
    };
    for (const auto& c : cases) {
        Select({"A", "B"});
        const auto done = Drag({300, 40}, c.to);
        ASSERT_TRUE(done);
        EXPECT_EQ(done->changed, 2);
        EXPECT_TRUE(done->refused.empty());
        const PlacementRecord a = Moved(kA, c.ax, c.ay), b = Moved(kB, c.bx, c.by);
        EXPECT_EQ(FileNow(), Image({a, b, kC})) << c.to.x << "," << c.to.y;
        // The list shows the moved rows at once, still selected.
        EXPECT_EQ(host.list.CellText(RowNamed("B"), COL_POS_X), std::to_string(b.block.PosX()));
        EXPECT_EQ(host.list.SelectedRows().size(), 2u);
        EXPECT_EQ(host.Hint(), "批量修改完成!选中[2]条,实际修改[2]条!");
        // One undo takes the whole move back, byte for byte.
        ASSERT_TRUE(dlg->OnUndo());
        EXPECT_EQ(FileNow(), before);
        EXPECT_FALSE(dlg->CanUndo());
    }
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(MapEditTest, AMoveFollowsTheSelectionInASortedAndNarrowedList) {
    dlg->OnHeadingClick(COL_POS_X);   // C, A, B
    dlg->OnListFilterChanged("x:0-500");   // C, A
    ASSERT_EQ(host.list.RowCount(), 2);
    Select({"A"});
    const auto done = Drag({300, 40}, {305, 41});
    ASSERT_TRUE(done);
    EXPECT_EQ(FileNow(), Image({Moved(kA, 305, 41), kB, kC}));
    EXPECT_EQ(host.list.CellText(RowNamed("A"), COL_POS_Y), "41");
}

TEST_F(MapEditTest, ADoubleClickOnAnEmptySpotStartsANewPlacementThere) {
    host.SelectListBox(IDC_TEMPLATE_LIST, 2);
    ShowMap();
    const MapPointF empty = transform.ToView(640, 321);
    const MapGestureResult r = gesture.DoubleClick(empty.x, empty.y);
    ASSERT_TRUE(r.addAt);
    dlg->OnMapAddAt(r.addAt->x, r.addAt->y);
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
    EXPECT_EQ(dlg->CurTemplate(), 3) << "as Them: the entry's line";
    EXPECT_EQ(host.ItemText(IDC_POS_X), "640");
    EXPECT_EQ(host.ItemText(IDC_POS_Y), "321");
    EXPECT_EQ(host.ItemText(IDC_NAME), host.ListBoxText(IDC_TEMPLATE_LIST, 2));
    EXPECT_EQ(host.Hint(), "添加NPC模型成功,现在可以更改NPC配置信息!");

    // Another spot while adding: the new placement keeps its fields and takes the spot.
    host.texts[IDC_DROP] = "4";
    dlg->OnMapAddAt(12, 34);
    EXPECT_EQ(host.ItemText(IDC_POS_X), "12");
    EXPECT_EQ(host.ItemText(IDC_DROP), "4");
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
    // "Luu" adds it there.
    EXPECT_TRUE(dlg->OnSave().Written());
    EXPECT_EQ(dlg->Rows().Block(0).PosX(), 12);
    EXPECT_EQ(dlg->Rows().Block(0).PosY(), 34);
}

TEST_F(MapEditTest, ADoubleClickIsRefusedAsThemIsWhileModifyingOrWithoutATemplate) {
    // No template chosen: Them's hint, nothing filled.
    dlg->OnMapAddAt(5, 6);
    EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    EXPECT_EQ(host.Hint(), "必须在NPC列表中选择一个NPC原型!");
    EXPECT_EQ(host.ItemText(IDC_POS_X), "");
    // Modifying a row: Them's refusal, the row's fields stay.
    Select({"A"});
    dlg->OnModify();
    host.SelectListBox(IDC_TEMPLATE_LIST, 1);
    dlg->OnMapAddAt(5, 6);
    EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);
    EXPECT_EQ(host.Hint(), "上一次编辑尚未结束!");
    EXPECT_EQ(host.ItemText(IDC_POS_X), "300");
}

TEST_F(MapEditTest, DeleteOnTheMapIsTheListsDeleteWithItsQuestionAndTexts) {
    const std::string before = FileNow();
    // The list's delete of A and C.
    Select({"A", "C"});
    host.answers.push_back(MessageAnswer::Yes);
    const std::optional<DeleteReport> fromList = dlg->OnDelete();
    ASSERT_TRUE(fromList);
    const std::string listBytes = FileNow();
    const std::string listHint = host.Hint(), listCaption = host.FrameCaption();
    const ShownMessage listQuestion = host.messages.back();
    ASSERT_TRUE(dlg->OnUndo());
    ASSERT_EQ(FileNow(), before);

    // The same rows picked on the map, Delete pressed there.
    SelectMap(0);
    host.list.ClearSelection();
    ShowMap();
    for (const MapPointF spot : {MapPointF{300, 40}, MapPointF{200, 60}}) {
        const MapPointF v = transform.ToView(spot.x, spot.y);
        gesture.Press(MapButton::Left, v.x, v.y);
        SelectRowsFromMap(host.list, gesture.Release(v.x, v.y).picked);
    }
    ASSERT_EQ(host.list.SelectedRows().size(), 2u);
    const MapGestureResult key = gesture.Key(MapKey::Delete);
    ASSERT_TRUE(key.deleteSelection);
    host.answers.push_back(MessageAnswer::Yes);
    const std::optional<DeleteReport> fromMap = dlg->OnDelete();
    ASSERT_TRUE(fromMap);
    EXPECT_EQ(fromMap->removed, fromList->removed);
    EXPECT_EQ(FileNow(), listBytes);
    EXPECT_EQ(FileNow(), Image({kB}));
    EXPECT_EQ(host.Hint(), listHint);
    EXPECT_EQ(host.FrameCaption(), listCaption);
    EXPECT_EQ(host.messages.back().caption, listQuestion.caption);
    EXPECT_EQ(host.messages.back().text, listQuestion.text);

    // A "no" writes nothing, as in the list.
    Select({"B"});
    host.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(gesture.Key(MapKey::Delete).deleteSelection);
    EXPECT_FALSE(dlg->OnDelete());
    EXPECT_EQ(FileNow(), Image({kB}));
}

}  // namespace
}  // namespace morvi::test
