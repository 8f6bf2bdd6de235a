#pragma once
// The About box (dialog template 100): icon, program name and version, contact line and a
// "Thoat" button that closes it.

#include <QDialog>

namespace morvi {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// Texts of the About box and of the main window that are ours to choose.
inline constexpr const char* kProgramTitleLine = "MorviNpc Version 1.0";
inline constexpr const char* kProgramPurposeLine = "NPC placement editor for map regions";
inline constexpr const char* kProjectAddress = "https://morvinpc.example.org";

}  // namespace morvi
