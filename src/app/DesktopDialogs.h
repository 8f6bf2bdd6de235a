#pragma once
// The desktop's own dialogs and launchers, each going through DesktopSeams first.

#include <optional>
#include <string>
#include <vector>

#include <QStringList>

#include "dialog/DialogHost.h"

class QWidget;

namespace morvi {

MessageAnswer RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon);
std::optional<std::string> RunFolderBrowser(QWidget* owner, const std::string& title);
std::optional<std::string> RunFileOpenDialog(QWidget* owner, const std::vector<FileFilter>& filters,
                                             const std::string& defaultExtension);
void LaunchTextEditor(const std::string& path);
void OpenWebAddress(const std::string& url);

// Qt name filters for the file dialog. "*.*" (also written "(*.*)") means every file, as on
// Windows; on other systems it would only match names containing a dot, so it becomes "*".
QStringList QtNameFilters(const std::vector<FileFilter>& filters);

}  // namespace morvi
