#pragma once
// The desktop's own dialogs and launchers, each going through DesktopSeams first.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QStringList>

#include "dialog/DialogHost.h"

class QWidget;

namespace morvi {

MessageAnswer RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon);
// Both dialogs start in `startDirectory` when it is given.
std::optional<std::string> RunFolderBrowser(QWidget* owner, const std::string& title,
                                            const std::string& startDirectory = {});
std::optional<std::string> RunFileOpenDialog(QWidget* owner, const std::vector<FileFilter>& filters,
                                             const std::string& defaultExtension,
                                             const std::string& startDirectory = {});
// Off Windows: the desktop's opener, else $VISUAL/$EDITOR in a terminal (the address: the
// opener, else $BROWSER); `failed` gets the text to show when none of them could start.
using LaunchFailed = std::function<void(const std::string& why)>;
void LaunchTextEditor(const std::string& path, LaunchFailed failed = {});
void OpenWebAddress(const std::string& url, LaunchFailed failed = {});

// Qt name filters for the file dialog. "*.*" (also written "(*.*)") means every file, as on
// Windows; on other systems it would only match names containing a dot, so it becomes "*".
QStringList QtNameFilters(const std::vector<FileFilter>& filters);

}  // namespace morvi
