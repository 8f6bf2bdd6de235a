#pragma once
// The application object: starts the toolkit, runs the main window modally and ends the
// process when the window closes. MorviConfig.ini is read from the current directory at the
// time each configuration runs, so the program is started in the directory that holds it.

#include <memory>

class QApplication;

namespace morvi {

class CPlacementApp {
public:
    CPlacementApp(int& argc, char** argv);
    ~CPlacementApp();

    // Runs the main window to its end. Returns false: there is no message loop after it.
    bool InitInstance();

private:
    std::unique_ptr<QApplication> m_app;
};

}  // namespace morvi
