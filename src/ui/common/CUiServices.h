#pragma once

class CPrompt;
class CSettings;
class QWidget;

// What a reusable window needs from the application, handed in at construction. Nothing is
// owned; a null member means "none": no message is shown, nothing is stored, no main window.
// The prompt and the settings must outlive the window they are given to.
struct CUiServices {
    CPrompt* prompt = nullptr;
    CSettings* settings = nullptr;
    // The application's main window: a tip shown for no owner belongs to it, and a tip counts
    // as being in the window the user works in while it is active.
    QWidget* mainWindow = nullptr;
};
