#include "window/qt/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/program_version.h"
#include "window/qt/qt_style.h"

namespace tarnwick {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutBox");
    setWindowTitle("About ORVEX Firmware Writer ...");
    setFont(windowFont(12));
    auto* icon = new QLabel(this);
    icon->setPixmap(appIcon().pixmap(48, 48));
    auto* text = new QLabel("Ostrel Firmware Writer", this);
    text->setObjectName("aboutText");
    auto* version = new QLabel(QString("Version ") + programVersion(), this);
    version->setObjectName("aboutVersion");
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->addWidget(text);
    texts->addWidget(version);
    row->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tarnwick
