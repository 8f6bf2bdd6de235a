#pragma once
// The main window: dialog template 102 built from its table, hosting the window logic of
// CPlacementDlg. This class only delivers notifications to the logic and carries out what the
// logic asks of the controls and the desktop; it decides nothing itself.

#include <array>
#include <memory>

#include <QDialog>
#include <QElapsedTimer>

#include "controls/CHyperlinkLabel.h"
#include "controls/DialogTemplate.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/DialogHost.h"
#include "texts/Language.h"

class QListWidget;
class QComboBox;
class QGroupBox;

namespace morvi {

class PlacementListModel;
class PlacementTableView;
class PlacementListControl;
class WindowExtras;

class PlacementWindow : public QDialog, public DialogHost {
    Q_OBJECT
public:
    explicit PlacementWindow(QWidget* parent = nullptr);
    ~PlacementWindow() override;

    // The initialisation the window runs before it is first shown: the link label, then the
    // logic's own start-up (server directory, template list, combos, map list).
    bool InitDialog();

    CPlacementDlg& Logic() { return m_dlg; }
    QWidget* Control(int id) const;
    PlacementListModel& ListModel() { return *m_model; }
    PlacementTableView& ListView() { return *m_listView; }
    CHyperlinkLabel& Link() { return m_link; }
    const DialogUnits& Units() const { return m_units; }
    WindowExtras& Extras() { return *m_extras; }

    // --- DialogHost ---
    std::string ItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    void UpdateItemNow(int id) override;
    void FocusItem(int id) override;
    bool IsItemChecked(int id) const override;
    int ListBoxCount(int id) const override;
    void ListBoxAdd(int id, const std::string& text) override;
    void ListBoxDelete(int id, int index) override;
    std::string ListBoxText(int id, int index) const override;
    int ListBoxSelection(int id) const override;
    void ListBoxSetSelection(int id, int index) override;
    int ComboCount(int id) const override;
    void ComboInsert(int id, int index, const std::string& text) override;
    std::string ComboItemText(int id, int index) const override;
    int ComboSelection(int id) const override;
    void ComboSetSelection(int id, int index) override;
    PlacementListHost& Placements() override;
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
    std::optional<std::string> ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                const std::string& defaultExtension) override;
    void OpenInEditor(const std::string& path) override;
    void ShowAboutBox() override;
    void RebuildTexts() override;
    void EndDialog(int result) override;
    uint32_t TickCount() override;
    std::string CurrentDirectory() override;

public slots:
    void reject() override;   // Escape and the close box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void BuildControls();
    void ConnectNotifications();
    void CreateHyperlink();
    void NotifyFocus(int id);
    void RepaintFrameCaption(bool throttled);
    void ApplyFrameCaption();
    static QRect FrameCaptionRect(const QGroupBox& frame);
    static void SetFrameCaption(QGroupBox& frame, const QString& caption);
    QListWidget* ListBox(int id) const;
    QComboBox* Combo(int id) const;

    CPlacementDlg m_dlg;
    DialogUnits m_units;
    std::array<QWidget*, 40> m_controls{};   // ids 1005..1044
    std::vector<QWidget*> m_templateControls;   // one per entry of the template, in its order
    Language m_shownLanguage = Language::Original;   // the language the texts were put up in
    PlacementTableView* m_listView = nullptr;
    PlacementListModel* m_model = nullptr;
    std::unique_ptr<PlacementListControl> m_list;
    CHyperlinkLabel m_link;
    WindowExtras* m_extras = nullptr;   // owned as a child object
    QElapsedTimer m_captionRepaintClock;
    std::string m_frameCaption;   // the UTF-8 text last set on the frame (1017)
    bool m_frameCaptionStale = false;   // the frame does not show m_frameCaption yet
    bool m_captionApplyQueued = false;
    bool m_centred = false;
#ifdef Q_OS_WIN
    bool m_systemMenuReady = false;
#endif
};

}  // namespace morvi
