// The About box: the icon, "Ostrel Firmware Writer" and "OK".
#pragma once
#include <QDialog>

namespace tarnwick {

class AboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
};

}  // namespace tarnwick
