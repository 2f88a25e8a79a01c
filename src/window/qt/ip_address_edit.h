// An IPv4 address control that types like the platform's: four fields that each take a
// number 0..255 and nothing else. The digits typed into a field replace what it held
// when it was entered; the third digit, or "." or a space after at least one digit typed
// in the field, moves on to the next field. Backspace at a field's start goes back to the
// previous one. Pasting a whole dotted address, by key or through a field's menu, fills
// all four fields. An empty field counts as 0.
#pragma once
#include <QFrame>
#include <array>
#include <cstdint>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace tarnwick {

class IpAddressEdit final : public QFrame {
    Q_OBJECT
public:
    explicit IpAddressEdit(QWidget* parent = nullptr);

    std::array<uint8_t, 4> address() const;
    void setAddress(const std::array<uint8_t, 4>& address);
    QLineEdit* field(int index) const { return fields_[static_cast<size_t>(index)]; }

    // "a.b.c.d" with four numbers 0..255 (spaces around it allowed); nothing otherwise.
    static std::optional<std::array<uint8_t, 4>> parseAddress(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(QObject* field) const;
    // Makes a field the one being typed into: focus, all selected, nothing typed yet.
    void enterField(int index, bool cursorAtEnd = false);
    bool typeDigit(int index, QChar digit);
    bool keyPressed(int index, QKeyEvent* key);
    // A whole dotted address on the clipboard fills all four fields; false: it holds none.
    bool pasteAddress();
    void showFieldMenu(QLineEdit* field, const QPoint& globalPos);

    std::array<QLineEdit*, 4> fields_{};
    int current_ = -1;     // the field being typed into
    bool typed_ = false;   // digits were typed into it since it was entered
};

}  // namespace tarnwick
