// The application object: the program's own code starts in InitInstance.
#pragma once

#include <windows.h>

#include <string>

class CDialog;

class CApplication
{
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // Returns whether the application wants to go on; the framework has no loop of its own,
    // so the process ends after it either way.
    virtual bool InitInstance() = 0;

    static CApplication* Instance() { return s_pInstance; }

    // Owner of dialogs without a parent and of message boxes; its closing ends the application.
    CDialog* m_pMainWnd = nullptr;
    // The process's exit code once InitInstance has returned.
    int m_nExitCode = 0;

private:
    static CApplication* s_pInstance;
};

// Registers the control classes that the dialog templates use (the progress bar among them).
void EnableDialogEnvironment();

// The program file's name without folder and extension: the title of every message box.
const std::string& AppTitle();

// Full path of the running program.
std::string ModuleFilePath();

// The window that owns message boxes and dialogs without a parent: the main window, once it exists.
HWND AppMainWindow();
