#include "window/qt/history_box.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "window/main_window.h"

namespace tarnwick {

HistoryBox::HistoryBox(MainWindow& window, QWidget* parent) : QDialog(parent), window_(window) {
    setObjectName("historyBox");
    setWindowTitle("History");
    serial_ = new QLineEdit(QString::fromStdString(window.lastSerialNumber()), this);
    serial_->setObjectName("historySerial");
    table_ = new QPlainTextEdit(this);
    table_->setObjectName("historyTable");
    table_->setReadOnly(true);
    table_->setLineWrapMode(QPlainTextEdit::NoWrap);
    table_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    table_->setMinimumSize(760, 320);
    auto* close = new QPushButton("Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(serial_, &QLineEdit::textChanged, this, [this] { refresh(); });

    auto* filter = new QHBoxLayout;
    filter->addWidget(new QLabel("Serial number:", this));
    filter->addWidget(serial_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    refresh();
}

void HistoryBox::refresh() {
    table_->setPlainText(QString::fromStdString(window_.historyListing(serial_->text().trimmed().toStdString())));
}

}  // namespace tarnwick
