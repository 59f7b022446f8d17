// A number on a page: an edit field with a spin button beside it. The range belongs to the
// spin button only; a value typed outside it is kept as typed. Every change of the text, typed
// or set by the page, is reported with the number it parses to.
#pragma once

#include <QLineEdit>
#include <QWidget>
#include <cstdint>

class QToolButton;

namespace tandel {

class NumberField : public QWidget {
    Q_OBJECT
public:
    NumberField(int minimum, int maximum, QWidget* parent = nullptr);

    // Writes the number as "%d", which reports the change like typing does.
    void SetValue(std::int32_t value);
    std::int32_t Value() const;
    QLineEdit* Edit() const { return edit_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

    // The spin button's step: up or down by one within the range.
    void Spin(int steps);

Q_SIGNALS:
    // The spin button moved, before the field changes.
    void Spun();
    void ValueChanged(std::int32_t value);

private:
    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
};

}  // namespace tandel
