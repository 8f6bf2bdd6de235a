#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "data/text/GbkCodec.h"
#include "data/server/MapList.h"
#include "data/text/PrivateProfile.h"
#include "data/platform/WidePath.h"
#include "data/server/ServerPath.h"
#include "data/text/TabFileReader.h"
#include "dialog/CPlacementDlg.h"
#include "texts/ProgramTexts.h"
#include "texts/Translations.h"

namespace morvi {
namespace {

constexpr char kConfigSection[] = "MorviConfig";
constexpr char kServerPathKey[] = "ServerPath";
constexpr char kUseDebugKey[] = "UseDebug";
// The language of the window's texts: a language code in ASCII ("en", "vi"); empty or absent
// for the original texts, as is any code the program does not know.
constexpr char kLanguageKey[] = "Language";
constexpr size_t kLanguageCapacity = 16;
constexpr size_t kServerPathCapacity = kMaxServerPathBytes + 1;
constexpr size_t kUseDebugCapacity = 40;
constexpr int kDialogCancelled = 2;   // the result of a dialog closed by Cancel


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

void Warn(DialogHost& host, std::string_view text) {
    host.ShowMessage(std::string(text), std::string(Text(TextId::WarningCaption)), MessageButtons::Ok,
                     MessageIcon::Information);
}

}  // namespace

bool CPlacementDlg::ConfigureServerPath(bool force) {
    const std::string config = ConfigFilePath(m_host);
    // The INI file holds code page 936 bytes; the dialog works in UTF-8.
    m_serverPath =
        GbkToUtf8(GetProfileString(kConfigSection, kServerPathKey, "", kServerPathCapacity, config));

    if (m_serverPath.empty() || force) {
        const std::optional<std::string> chosen = m_host.BrowseForFolder(
            std::string(Text(force ? TextId::ChooseServerDirectory : TextId::FirstRunChooseServerDirectory)));
        if (!chosen || chosen->empty()) {
            Warn(m_host, Text(TextId::NoDirectoryChosen));
        } else if (const std::optional<std::string> stored = Utf8ToGbk(*chosen); !stored) {
            // Refused like a cancel: the old directory stays and is written back.
            Warn(m_host, Text(TextId::ServerPathUnencodable));
        } else if (stored->size() > kMaxServerPathBytes) {
            Warn(m_host, Text(TextId::ServerPathTooLong));
        } else {
            m_serverPath = *chosen;
            if (!ServerExecutablePresent(m_serverPath)) Warn(m_host, Text(TextId::DirectoryLacksServerFiles));
        }
        // Written whenever the browser was shown, whatever came of it.
        const std::optional<std::string> value = Utf8ToGbk(m_serverPath);
        std::string error;
        if (!value || !WriteProfileString(kConfigSection, kServerPathKey, *value, config, &error))
            Warn(m_host, std::string(Text(TextId::ConfigWriteFailed)) + "\n" + error);
    }

    if (m_serverPath.empty()) {
        m_host.SetItemText(IDC_SERVER_STATUS, std::string(Text(TextId::ServerPathNotConfigured)));
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
        m_host.ShowMessage(std::string(Text(TextId::MapListMissing)), std::string(Text(TextId::ErrorCaption)),
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

void CPlacementDlg::ApplyConfiguredLanguage() {
    const std::string code =
        GetProfileString(kConfigSection, kLanguageKey, "", kLanguageCapacity, ConfigFilePath(m_host));
    const Language language = LanguageOfCode(code).value_or(Language::Original);
    if (language != CurrentLanguage()) ShowLanguage(language);
}

void CPlacementDlg::OnLanguageChosen(Language language) {
    if (language != CurrentLanguage()) ShowLanguage(language);
    std::string error;
    if (!WriteProfileString(kConfigSection, kLanguageKey, LanguageCode(language), ConfigFilePath(m_host), &error))
        Warn(m_host, std::string(Text(TextId::ConfigWriteFailed)) + "\n" + error);
}

void CPlacementDlg::ShowLanguage(Language language) {
    const Language before = CurrentLanguage();
    // The texts the dialog put up, read in the language they were written in.
    struct Shown {
        int id;
        std::string text;
    };
    std::vector<Shown> shown;
    for (int id : {IDC_FRAME, IDC_HINT, IDC_SERVER_STATUS}) shown.push_back({id, m_host.ItemText(id)});
    SetLanguage(language);
    m_host.RebuildTexts();
    for (const Shown& s : shown) {
        if (s.id == IDC_SERVER_STATUS && !m_serverPath.empty()) {
            m_host.SetItemText(s.id, m_serverPath);   // a path is no text of the table
            continue;
        }
        if (!s.text.empty()) m_host.SetItemText(s.id, RetranslateShown(s.text, before, language));
    }
}

bool CPlacementDlg::OnInitDialog() {
    ApplyConfiguredLanguage();
    ConfigureServerPath(false);
    LoadTemplateList();
    FillNameCombos();
    LoadMapList();
    return true;
}

}  // namespace morvi
