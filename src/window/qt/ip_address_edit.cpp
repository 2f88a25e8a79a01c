#include "window/qt/ip_address_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStringList>

namespace tarnwick {

namespace {
// 0..255 without leading zeros; a prefix of a valid number is accepted while typing.
const QRegularExpression& octetPattern() {
    static const QRegularExpression re("25[0-5]|2[0-4][0-9]|1[0-9]{2}|[1-9]?[0-9]");
    return re;
}

// The menu names its entries in the user's language; the shortcut beside Paste is the same everywhere.
bool isPasteAction(const QAction* action) {
    return action->text().endsWith('\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText));
}

bool isOctet(const QString& text) {
    static const QRegularExpression whole(QRegularExpression::anchoredPattern(octetPattern().pattern()));
    return whole.match(text).hasMatch();
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
    typed_ = false;  // new contents: the next digit replaces them
    for (size_t i = 0; i < fields_.size(); ++i) {
        const QString text = QString::number(address[i]);
        if (fields_[i]->text() != text) fields_[i]->setText(text);
    }
}

std::optional<std::array<uint8_t, 4>> IpAddressEdit::parseAddress(const QString& text) {
    const QStringList parts = text.trimmed().split('.');
    if (parts.size() != 4) return std::nullopt;
    std::array<uint8_t, 4> a{};
    for (size_t i = 0; i < a.size(); ++i) {
        const QString& part = parts[static_cast<int>(i)];
        if (!isOctet(part)) return std::nullopt;
        a[i] = static_cast<uint8_t>(part.toInt());
    }
    return a;
}

int IpAddressEdit::indexOf(QObject* field) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] == field) return static_cast<int>(i);
    }
    return -1;
}

void IpAddressEdit::enterField(int index, bool cursorAtEnd) {
    if (index < 0 || index >= static_cast<int>(fields_.size())) return;
    QLineEdit* f = fields_[static_cast<size_t>(index)];
    current_ = index;
    typed_ = cursorAtEnd;  // going back continues the field's digits
    f->setFocus(Qt::OtherFocusReason);
    if (cursorAtEnd) f->end(false);
    else f->selectAll();
}

bool IpAddressEdit::typeDigit(int index, QChar digit) {
    QLineEdit* f = fields_[static_cast<size_t>(index)];
    QString text = f->text();
    if (!typed_) text.clear();
    else if (f->hasSelectedText()) text.remove(f->selectionStart(), f->selectedText().size());
    text += digit;
    if (!isOctet(text)) return true;  // refused, as the validator would
    f->setText(text);
    typed_ = true;
    if (text.size() == 3) enterField(index + 1);
    return true;
}

bool IpAddressEdit::pasteAddress() {
    const auto pasted = parseAddress(QApplication::clipboard()->text());
    if (!pasted) return false;  // a single number pastes into the field
    setAddress(*pasted);
    enterField(3, true);
    return true;
}

// The field's own menu, whose Paste takes a whole address into all four fields; anything
// else it pastes into the field as the field would.
void IpAddressEdit::showFieldMenu(QLineEdit* field, const QPoint& globalPos) {
    QMenu* menu = field->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
        if (!isPasteAction(action)) continue;
        disconnect(action, &QAction::triggered, field, nullptr);
        connect(action, &QAction::triggered, field, [this, field] {
            if (!pasteAddress()) field->paste();
        });
    }
    menu->popup(globalPos);
}

bool IpAddressEdit::keyPressed(int index, QKeyEvent* key) {
    if (index != current_) {  // typing into a field not entered through this control (a click)
        current_ = index;
        typed_ = false;
    }
    QLineEdit* f = fields_[static_cast<size_t>(index)];
    if (key->matches(QKeySequence::Paste)) return pasteAddress();
    const QString text = key->text();
    if (text.size() == 1 && text[0].isDigit() && text[0].unicode() < 0x80) return typeDigit(index, text[0]);
    if (key->key() == Qt::Key_Period || key->key() == Qt::Key_Space) {
        if (typed_ && !f->text().isEmpty()) enterField(index + 1);
        return true;
    }
    if (key->key() == Qt::Key_Backspace) {
        if (f->cursorPosition() == 0 && !f->hasSelectedText() && index > 0) {
            enterField(index - 1, true);
            return true;
        }
        typed_ = true;  // what is left of the field is kept and typed onto
    }
    return false;
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = indexOf(watched);
    if (index < 0) return QFrame::eventFilter(watched, event);
    // Entered by a click or Tab: the digits typed next replace the field's contents.
    if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::OtherFocusReason) {
        current_ = index;
        typed_ = false;
    }
    if (event->type() == QEvent::ContextMenu) {
        showFieldMenu(fields_[static_cast<size_t>(index)], static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress && keyPressed(index, static_cast<QKeyEvent*>(event))) return true;
    return QFrame::eventFilter(watched, event);
}

}  // namespace tarnwick
