#pragma once
// A numeric edit field with up and down buttons, one of a control array (its index). It shows its
// value as a time of day ("hh:nn:ss", the value a day fraction) or with fixed decimals ("0.0").
//
// The value set by code is kept as given, unclamped, and raises nothing. A user's change (a step by
// the arrow keys or the buttons, a fast step by Page Up/Down or a held button, or a typed value
// confirmed by Enter or by leaving the field) is clamped between the lower and the higher of Minimum
// and Maximum, and raises ValueChanged(index) once when the value changed. A typed time becomes the
// lowest value in that range with this time of day; a time the range does not hold is refused.
#include <functional>
#include <string>

#include "platform/ui/controls.h"

class QLineEdit;
class QToolButton;

namespace sq {

class NumEditTap;

class NumEditControl : public Control {
public:
    explicit NumEditControl(QWidget* parent, int index = 0);
    ~NumEditControl() override;

    [[nodiscard]] int index() const { return m_index; }

    // Value is the default member.
    void setValue(double value);
    [[nodiscard]] double Value() const { return m_value; }
    NumEditControl& operator=(double value) {
        setValue(value);
        return *this;
    }
    void setMinimum(double value) { m_minimum = value; }
    [[nodiscard]] double Minimum() const { return m_minimum; }
    void setMaximum(double value) { m_maximum = value; }
    [[nodiscard]] double Maximum() const { return m_maximum; }

    // "hh:nn:ss" or a fixed pattern such as "0.0".
    void setFormat(const std::string& format);
    [[nodiscard]] const std::string& Format() const { return m_format; }
    void setStep(double step) { m_step = step; }
    [[nodiscard]] double Step() const { return m_step; }
    void setFastStep(double step) { m_fastStep = step; }
    [[nodiscard]] double FastStep() const { return m_fastStep; }

    // What the field shows.
    [[nodiscard]] std::string Text() const;

    // A user's steps, as the keys and buttons make them (negative counts step down).
    void stepBy(int steps);
    void fastStepBy(int steps);

    std::function<void(int index)> onValueChanged;

private:
    friend class NumEditTap;
    bool editEvent(QEvent* event);
    void userValue(double value);
    void commitTyped();
    void buttonStep(int direction);
    void showValue();

    int m_index;
    double m_value = 0;
    double m_minimum = 0;
    double m_maximum = 100;
    std::string m_format = "0.0";
    double m_step = 1;
    double m_fastStep = 10;
    bool m_typed = false;  // the field holds text the user typed and has not confirmed
    int m_repeats = 0;     // auto-repeats of a held button
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    NumEditTap* m_tap;
};

}  // namespace sq
