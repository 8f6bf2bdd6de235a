#include "texts/ProgramTexts.h"

#include <array>
#include <utility>

namespace morvi {
namespace {

struct Entry {
    TextId id;
    const char* text;
};

// In the order of TextId; the check below keeps them together.
constexpr Entry kTexts[] = {
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

    {TextId::LoadProgressEmpty, "进度[]"},
    {TextId::LoadProgress, "进度[{}]"},
    {TextId::LoadDone, "NPC配置列表完成!共有NPC配置信息[{}]条!"},
    {TextId::LoadDoneHint, "双击上面的内容可在这里进行编辑!"},

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

    {TextId::HistoryFailed, "无法记录修改历史,文件未改动! {}"},
    {TextId::ChangedSinceLoad, "地图文件{}在载入地图后已被其他程序修改,请重新载入地图!"},
    {TextId::NothingToUndo, "没有可撤销的修改!"},
    {TextId::UndoRefused, "撤销被拒绝,文件未改动! {}"},
    {TextId::Undone, "已撤销上一次修改!"},
    {TextId::NothingToRedo, "没有可重做的修改!"},
    {TextId::RedoRefused, "重做被拒绝,文件未改动! {}"},
    {TextId::Redone, "已重做上一次撤销的修改!"},

    {TextId::NoPlacementToChange, "您没有选择可更改的NPC"},
    {TextId::ScriptFilesFilter, "脚本配置文件(*.lua)"},
    {TextId::AllFilesFilter, "所有文件(*.*)"},
    {TextId::NoEditorToStart,
     "无法启动编辑器: 请安装 xdg-open (xdg-utils) 并为 .lua 文件设置默认程序, "
     "或设置环境变量 VISUAL 或 EDITOR (并安装一个终端程序, 如 xterm)"},
    {TextId::NoBrowserToStart, "无法打开浏览器: 请安装 xdg-open (xdg-utils) 并设置默认浏览器, 或设置环境变量 BROWSER"},
    {TextId::NotepadFailed, "无法启动记事本 (notepad): {}"},

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

    {TextId::MapViewFitTip, "显示整个地图 (1000 × 500)"},
    {TextId::MapViewOther, "其他"},
    {TextId::MapViewMarks, "■ 中心黑点 = Script · 数字 = 同一位置的NPC数 · 左键拖动选择 · 右键拖动平移 · 滚轮缩放"},

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
};

constexpr bool InIdOrder() {
    if (std::size(kTexts) != static_cast<size_t>(TextId::Count)) return false;
    for (size_t i = 0; i < std::size(kTexts); ++i)
        if (static_cast<size_t>(kTexts[i].id) != i) return false;
    return true;
}
static_assert(InIdOrder(), "every text id has its one entry, in the order of TextId");

}  // namespace

std::string_view Text(TextId id) {
    const size_t index = static_cast<size_t>(id);
    return index < std::size(kTexts) ? kTexts[index].text : std::string_view();
}

std::string Format(TextId id, std::initializer_list<std::string_view> args) {
    const std::string_view pattern = Text(id);
    std::string out;
    out.reserve(pattern.size() + 16);
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 1 < pattern.size() && pattern[i + 1] == '}') {
            if (next != args.end()) out.append(*next++);
            ++i;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace morvi
