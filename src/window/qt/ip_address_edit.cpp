#include "window/qt/ip_address_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace tarnwick {

namespace {
// 0..255 without leading zeros; a prefix of a valid number is accepted while typing.
const QRegularExpression& octetPattern() {
    static const QRegularExpression re("25[0-5]|2[0-4][0-9]|1[0-9]{2}|[1-9]?[0-9]");
    return re;
}
}  // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
    auto* validator = new QRegularExpressionValidator(octetPattern(), this);
    for (size_t i = 0; i < fields_.size(); ++i) {
        auto* f = new QLineEdit(this);
        f->setFrame(false);
        f->setValidator(validator);
        f->setMaxLength(3);
        f->setAlignment(Qt::AlignCenter);
        f->setFixedWidth(f->fontMetrics().horizontalAdvance("0000") + 4);
        f->installEventFilter(this);
        connect(f, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (text.size() == 3 && i + 1 < fields_.size()) focusField(static_cast<int>(i) + 1);
        });
        fields_[i] = f;
        if (i > 0) layout->addWidget(new QLabel(".", this));
        layout->addWidget(f, 1);
    }
    setFocusProxy(fields_[0]);
}

std::array<uint8_t, 4> IpAddressEdit::address() const {
    std::array<uint8_t, 4> a{};
    for (size_t i = 0; i < fields_.size(); ++i) {
        const int v = fields_[i]->text().toInt();
        a[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
    return a;
}

void IpAddressEdit::setAddress(const std::array<uint8_t, 4>& address) {
    for (size_t i = 0; i < fields_.size(); ++i) {
        const QString text = QString::number(address[i]);
        if (fields_[i]->text() != text) fields_[i]->setText(text);
    }
}

int IpAddressEdit::indexOf(QObject* field) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] == field) return static_cast<int>(i);
    }
    return -1;
}

void IpAddressEdit::focusField(int index) {
    if (index < 0 || index >= static_cast<int>(fields_.size())) return;
    QLineEdit* f = fields_[static_cast<size_t>(index)];
    f->setFocus(Qt::OtherFocusReason);
    f->selectAll();
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = indexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* f = fields_[static_cast<size_t>(index)];
    if (key->key() == Qt::Key_Period || key->key() == Qt::Key_Space) {
        if (!f->text().isEmpty()) focusField(index + 1);
        return true;
    }
    if (key->key() == Qt::Key_Backspace && f->text().isEmpty() && index > 0) {
        focusField(index - 1);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace tarnwick
