// "History...": the recorded runs of one product (the one last checked or updated), with
// a filter by serial number; an empty filter lists every run.
#pragma once
#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace tarnwick {

class MainWindow;

class HistoryBox final : public QDialog {
    Q_OBJECT
public:
    HistoryBox(MainWindow& window, QWidget* parent);

private:
    void refresh();

    MainWindow& window_;
    QLineEdit* serial_;
    QPlainTextEdit* table_;
};

}  // namespace tarnwick
