#include "app/DesktopDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "app/DesktopLauncher.h"
#include "app/DesktopSeams.h"
#include "dialog/DesktopLaunch.h"

namespace morvi {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// A pattern as the dialog logic gives it, in Qt's wildcard syntax.
QString QtPattern(const std::string& pattern) {
    QString p = FromUtf8(pattern).trimmed();
    if (p.startsWith(u'(') && p.endsWith(u')'))
        p = p.mid(1, p.size() - 2);
    if (p.isEmpty() || p == QStringLiteral("*.*"))
        return QStringLiteral("*");
    return p;
}

}  // namespace

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList result;
    for (const FileFilter& filter : filters) {
        const QString label = FromUtf8(filter.label);
        const QString pattern = QtPattern(filter.pattern);
        // Qt reads the patterns from the last parenthesised group of the text: keep the label
        // as it is when it already ends in them, else append them.
        if (label.endsWith(QStringLiteral("(") + pattern + QStringLiteral(")")))
            result << label;
        else
            result << label + QStringLiteral(" (") + pattern + QStringLiteral(")");
    }
    return result;
}

MessageAnswer RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) {
    if (auto answer = DesktopSeams::TakeAnswer({text, caption, buttons, icon}))
        return *answer;
    const auto qtButtons = buttons == MessageButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No)
                                                            : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(ToQtIcon(icon), FromUtf8(caption), FromUtf8(text), qtButtons, owner);
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

std::optional<std::string> RunFolderBrowser(QWidget* owner, const std::string& title,
                                            const std::string& startDirectory) {
    if (auto answered = DesktopSeams::TakeFolder(title))
        return *answered;
    const QString folder = QFileDialog::getExistingDirectory(owner, FromUtf8(title), FromUtf8(startDirectory),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return ToUtf8(QDir::toNativeSeparators(folder));
}

std::optional<std::string> RunFileOpenDialog(QWidget* owner, const std::vector<FileFilter>& filters,
                                             const std::string& defaultExtension,
                                             const std::string& startDirectory) {
    if (auto answered = DesktopSeams::TakeOpenFile({filters, defaultExtension, startDirectory}))
        return *answered;
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!startDirectory.empty())
        dialog.setDirectory(FromUtf8(startDirectory));
    // A typed name need not exist yet: the default extension is added to it.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList nameFilters = QtNameFilters(filters);
    dialog.setNameFilters(nameFilters);
    if (!nameFilters.isEmpty())
        dialog.selectNameFilter(nameFilters.front());
    QString suffix = FromUtf8(defaultExtension);
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToUtf8(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

void LaunchTextEditor(const std::string& path, LaunchFailed failed) {
    if (DesktopSeams::LaunchEditor(path))
        return;
#ifdef Q_OS_WIN
    // Notepad takes the rest of its command line as the file name: the path goes unquoted.
    QProcess process;
    process.setProgram(QStringLiteral("notepad"));
    process.setNativeArguments(FromUtf8(path));
    process.startDetached();
#else
    RunFirstWorking(EditorCommands(path, SystemLaunchEnvironment()), NoEditorText(), std::move(failed));
#endif
}

void OpenWebAddress(const std::string& url, LaunchFailed failed) {
    if (DesktopSeams::OpenUrl(url))
        return;
#ifdef Q_OS_WIN
    QDesktopServices::openUrl(QUrl(FromUtf8(url)));
#else
    RunFirstWorking(BrowserCommands(url, SystemLaunchEnvironment()), NoBrowserText(), std::move(failed));
#endif
}

}  // namespace morvi
