#pragma once

#include "Control.h"

class QProgressBar;

namespace forms {

// A progress bar with Min, Max and Value; a value outside Min..Max is error 380.
class ProgressBar : public WidgetControl {
public:
    ProgressBar(Container& container, const QString& name, const TwipsRect& rect, int index = -1);

    QProgressBar* progressBar() const;
    double min() const { return m_min; }
    double max() const { return m_max; }
    double value() const { return m_value; }
    void setMax(double max);
    void setValue(double value);

private:
    void update();
    double m_min = 0;
    double m_max = 100;
    double m_value = 0;
};

} // namespace forms
