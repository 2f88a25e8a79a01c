// Everything the main window needs of a window toolkit. Implemented by the Qt window,
// the console (command line and station mode) and a recording dialog in the tests.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "window/component_rows.h"
#include "window/control_fields.h"
#include "report/boxes.h"

namespace tarnwick {

struct OpenFileRequest {
    std::string title;        // "Select the firmware file"
    std::string filterText;   // "Update file(*.bin)"
    std::string pattern;      // "*.bin"
    std::string initialDir;   // the current working directory
};

// The modeless status window: one status line and an optional 0..100 progress bar.
class StatusWindow {
public:
    virtual ~StatusWindow() = default;
    // showProgress exactly 1 shows the bar at percent; any other value hides it.
    // Pumps the window messages afterwards.
    virtual void setStatus(const std::string& text, int showProgress, int percent) = 0;
    // The overall position beside the status line ("component 2 of 5", the time the
    // procedure has taken so far); a window without room for it ignores it.
    virtual void setPosition(const std::string& /*line*/) {}
    // Destroys the window; the object must not be used afterwards.
    virtual void destroy() = 0;
};

class Dialog {
public:
    virtual ~Dialog() = default;

    // Bound controls.
    virtual void readControls(ControlFields& fields) = 0;
    virtual void writeControls(const ControlFields& fields) = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual void setControlCaption(int id, const std::string& caption) = 0;
    virtual void setWindowCaption(const std::string& caption) = 0;
    // The read-only component list; a toolkit without one ignores it.
    virtual void showComponents(const std::vector<ComponentRow>& /*rows*/) {}
    // What the operator can do next, under the list; "" hides it. A console ignores it
    // (its front end prints the text itself).
    virtual void showNextSteps(const std::string& /*text*/) {}

    // Drop-down lists: the port list and the hidden bit-rate list. Selection -1 is none.
    virtual void setPortList(const std::vector<std::string>& entries) = 0;
    virtual int portSelection() = 0;
    virtual void setPortSelection(int index) = 0;
    virtual void setBaudList(const std::vector<std::string>& entries) = 0;
    virtual int baudSelection() = 0;
    virtual void setBaudSelection(int index) = 0;

    // Selects the whole path text with its end visible; keyboard focus to a control.
    virtual void selectPathText() = 0;
    virtual void focusControl(int id) = 0;

    // A modal box; returns kAnswerOk, kAnswerYes or kAnswerNo.
    virtual int messageBox(BoxKind kind, const std::string& text, const std::string& caption) = 0;
    // The open-file dialog; false when the user cancels.
    virtual bool chooseOpenFile(const OpenFileRequest& request, std::string& chosenPath) = 0;

    // Creates the status window. onDestroyed is called when the window goes away by
    // itself (Enter or Esc), so that the owner forgets it.
    virtual StatusWindow* createStatusWindow(std::function<void()> onDestroyed) = 0;

    virtual void setWaitCursor(bool on) = 0;
    // Repaints and dispatches window management; input stays queued. Never waits.
    virtual void pumpMessages() = 0;
    // Ends the main dialog (the program then ends).
    virtual void endDialog() = 0;
};

}  // namespace tarnwick
