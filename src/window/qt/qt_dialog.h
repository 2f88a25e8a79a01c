// The main window on Qt Widgets: every control of the main dialog bound to its id,
// the boxes, the open-file dialog, the status window and the message pump.
#pragma once
#include <QDialog>
#include <QPointer>
#include <map>

#include "window/dialog.h"
#include "window/qt/qt_status_window.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace tarnwick {

class MainWindow;
class IpAddressEdit;

class QtDialog final : public QDialog, public Dialog {
    Q_OBJECT
public:
    explicit QtDialog(QWidget* parent = nullptr);
    ~QtDialog() override;

    // Connects the buttons and radios to the main window's handlers.
    void bind(MainWindow& window);

    // --- Dialog ---
    void readControls(ControlFields& fields) override;
    void writeControls(const ControlFields& fields) override;
    void enableControl(int id, bool enabled) override;
    void setControlCaption(int id, const std::string& caption) override;
    void setWindowCaption(const std::string& caption) override;
    void showComponents(const std::vector<ComponentRow>& rows) override;
    void showNextSteps(const std::string& text) override;
    void setPortList(const std::vector<std::string>& entries) override;
    int portSelection() override;
    void setPortSelection(int index) override;
    void setBaudList(const std::vector<std::string>& entries) override;
    int baudSelection() override;
    void setBaudSelection(int index) override;
    void selectPathText() override;
    void focusControl(int id) override;
    int messageBox(BoxKind kind, const std::string& text, const std::string& caption) override;
    bool chooseOpenFile(const OpenFileRequest& request, std::string& chosenPath) override;
    StatusWindow* createStatusWindow(std::function<void()> onDestroyed) override;
    void setWaitCursor(bool on) override;
    void pumpMessages() override;
    void endDialog() override;

    // The widget bound to a control id, null for an unknown id.
    QWidget* control(int id) const;
    // The status window while one is open, else null.
    QtStatusWindow* statusWindow() const { return status_; }
    bool ended() const { return ended_; }
    // True while a button handler runs.
    bool busy() const { return busy_; }
    void showAbout();
    // The recorded runs of the product last checked or updated.
    void showHistory();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    QWidget* buildFileGroup();
    QWidget* buildComponentGroup();
    QWidget* buildOperationGroup();
    QWidget* buildUpdateGroup();
    QWidget* buildActionGroup();
    void buildHiddenControls();
    QAbstractButton* addRadio(int id, const char* caption, QButtonGroup* group, int value, QWidget* parent);
    QLineEdit* addEdit(int id, bool readOnly, QWidget* parent);

    // Runs one handler of the main window: never two at once, the wait cursor gone
    // afterwards, and input that queued up while it ran thrown away.
    void run(void (MainWindow::*handler)());
    void dropQueuedInput();
    void restoreCursor();

    MainWindow* window_ = nullptr;
    std::map<int, QWidget*> controls_;
    QButtonGroup* commGroup_ = nullptr;
    QButtonGroup* checkGroup_ = nullptr;
    QButtonGroup* operationGroup_ = nullptr;
    QButtonGroup* updateGroup_ = nullptr;
    QWidget* hiddenPanel_ = nullptr;
    QTableWidget* components_ = nullptr;
    QLabel* nextSteps_ = nullptr;  // under the table: what the operator can do next
    QPointer<QtStatusWindow> status_;
    bool busy_ = false;
    bool ended_ = false;
    bool waitCursor_ = false;
    bool droppingInput_ = false;
};

}  // namespace tarnwick
