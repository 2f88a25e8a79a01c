// An IPv4 address control: four fields that each take a number 0..255 and nothing else.
// Typing three digits, "." or a space moves on to the next field; Backspace in an empty
// field moves back. An empty field counts as 0.
#pragma once
#include <QFrame>
#include <array>
#include <cstdint>

class QLineEdit;

namespace tarnwick {

class IpAddressEdit final : public QFrame {
    Q_OBJECT
public:
    explicit IpAddressEdit(QWidget* parent = nullptr);

    std::array<uint8_t, 4> address() const;
    void setAddress(const std::array<uint8_t, 4>& address);
    QLineEdit* field(int index) const { return fields_[static_cast<size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(QObject* field) const;
    void focusField(int index);

    std::array<QLineEdit*, 4> fields_{};
};

}  // namespace tarnwick
