#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "data/text/GbkCodec.h"
#include "data/server/MapList.h"
#include "data/text/PrivateProfile.h"
#include "data/platform/WidePath.h"
#include "data/server/ServerPath.h"
#include "data/text/TabFileReader.h"
#include "dialog/CPlacementDlg.h"

namespace morvi {
namespace {

constexpr char kConfigSection[] = "MorviConfig";
constexpr char kServerPathKey[] = "ServerPath";
constexpr char kUseDebugKey[] = "UseDebug";
constexpr size_t kServerPathCapacity = kMaxServerPathBytes + 1;
constexpr size_t kUseDebugCapacity = 40;
constexpr int kDialogCancelled = 2;   // the result of a dialog closed by Cancel

constexpr char kWarningCaption[] = "警告";
constexpr char kNoDirectoryMessage[] =
    "您没有指定任何目录,因此程序未能初始化!您可以在程序启动后重新配置";
constexpr char kNoServerExeMessage[] =
    "您指定的目录里并不包含Morvi服务器端的关键性文件,这可能影响程序正常初始化!!";
constexpr char kPathTooLongMessage[] = "您选择的目录路径超过254个字节,无法使用!";
constexpr char kPathUnencodableMessage[] = "您选择的目录路径含有无法保存的字符,无法使用!";
constexpr char kConfigWriteFailedMessage[] = "配置文件MorviConfig.ini保存失败!";
constexpr char kNotConfiguredStatus[] = "服务器路径尚未配置!";

// The configuration file lives in the current directory of this moment, so a directory change
// (for example through a file dialog) moves it.
std::string ConfigFilePath(DialogHost& host) {
    return CollapseSeparators(host.CurrentDirectory() + "/MorviConfig.ini");
}

// The server executable is only probed for presence; a directory of that name does not count.
bool ServerExecutablePresent(const std::string& serverPath) {
    const std::string path = ServerFilePath(serverPath, "\\Gameserver.exe");
    std::error_code ec;
    if (std::filesystem::is_directory(FsPath(path), ec)) return false;
    std::FILE* f = OpenFileUtf8(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

void Warn(DialogHost& host, const char* text) {
    host.ShowMessage(text, kWarningCaption, MessageButtons::Ok, MessageIcon::Information);
}

}  // namespace

bool CPlacementDlg::ConfigureServerPath(bool force) {
    const std::string config = ConfigFilePath(m_host);
    // The INI file holds code page 936 bytes; the dialog works in UTF-8.
    m_serverPath =
        GbkToUtf8(GetProfileString(kConfigSection, kServerPathKey, "", kServerPathCapacity, config));

    if (m_serverPath.empty() || force) {
        const std::optional<std::string> chosen = m_host.BrowseForFolder(
            force ? "选择Morvi服务器端目录" : "第一次运行程序,配置Morvi服务器端目录");
        if (!chosen || chosen->empty()) {
            Warn(m_host, kNoDirectoryMessage);
        } else if (const std::optional<std::string> stored = Utf8ToGbk(*chosen); !stored) {
            // Refused like a cancel: the old directory stays and is written back.
            Warn(m_host, kPathUnencodableMessage);
        } else if (stored->size() > kMaxServerPathBytes) {
            Warn(m_host, kPathTooLongMessage);
        } else {
            m_serverPath = *chosen;
            if (!ServerExecutablePresent(m_serverPath)) Warn(m_host, kNoServerExeMessage);
        }
        // Written whenever the browser was shown, whatever came of it.
        const std::optional<std::string> value = Utf8ToGbk(m_serverPath);
        std::string error;
        if (!value || !WriteProfileString(kConfigSection, kServerPathKey, *value, config, &error))
            Warn(m_host, (std::string(kConfigWriteFailedMessage) + "\n" + error).c_str());
    }

    if (m_serverPath.empty()) {
        m_host.SetItemText(IDC_SERVER_STATUS, kNotConfiguredStatus);
        m_host.UpdateItemNow(IDC_SERVER_STATUS);
    } else {
        m_host.SetItemText(IDC_SERVER_STATUS, m_serverPath);
    }

    std::string debug = GetProfileString(kConfigSection, kUseDebugKey, "false", kUseDebugCapacity, config);
    for (char& c : debug) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    m_debugMode = debug == "true";
    return true;
}

void CPlacementDlg::OnBrowseServer() {
    ConfigureServerPath(true);
    m_host.SetItemText(IDC_SERVER_STATUS, m_serverPath);
    LoadMapList();
    LoadTemplateList();
    Document().Close();
    ResetEditArea();
}

void CPlacementDlg::OnExit() {
    m_mapPaths.clear();
    OnCancel();
}

void CPlacementDlg::OnOK() {}

void CPlacementDlg::OnCancel() { m_host.EndDialog(kDialogCancelled); }

bool CPlacementDlg::LoadMapList() {
    MapListResult maps = ReadMapList(ServerFilePath(m_serverPath, "\\maps\\worldset.ini"),
                                     ServerFilePath(m_serverPath, "\\settings\\maplist.ini"));
    if (maps.count <= 0) {
        m_host.ShowMessage("地图列表文件不存在或者配置错误,或者设置的地图数为0!", "错误",
                           MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    // One directory per listed map, at the index of its list entry.
    m_mapPaths.clear();
    m_mapPaths.reserve(maps.dirs.size());
    ClearListBox(IDC_MAP_LIST);
    for (size_t i = 0; i < maps.names.size() && i < maps.dirs.size(); ++i) {
        m_host.ListBoxAdd(IDC_MAP_LIST, GbkToUtf8(maps.names[i]));
        m_mapPaths.push_back(GbkToUtf8(maps.dirs[i]));
    }
    return true;
}

bool CPlacementDlg::LoadTemplateList() {
    const std::vector<std::string> names =
        ReadTemplateNames(ServerFilePath(m_serverPath, "\\settings\\npcs.txt"));
    ClearListBox(IDC_TEMPLATE_LIST);
    for (const std::string& name : names) m_host.ListBoxAdd(IDC_TEMPLATE_LIST, GbkToUtf8(name));
    return true;
}

void CPlacementDlg::OnSysCommand(int id) {
    // The low four bits of a system command are used by the window system itself.
    if ((id & 0xFFF0) == kAboutCommand) m_host.ShowAboutBox();
}

bool CPlacementDlg::OnInitDialog() {
    ConfigureServerPath(false);
    LoadTemplateList();
    FillNameCombos();
    LoadMapList();
    return true;
}

}  // namespace morvi
