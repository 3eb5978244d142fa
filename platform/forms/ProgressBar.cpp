#include "ProgressBar.h"

#include "runtime/RuntimeError.h"

#include <QProgressBar>

#include <cmath>

namespace forms {

namespace {
// Finer than any bar's width in pixels; a loop that sets the value per row repaints at most
// this often.
constexpr int Steps = 1000;
} // namespace

ProgressBar::ProgressBar(Container& container, const QString& name, const TwipsRect& rect, int index)
    : WidgetControl(container, new QProgressBar, name, rect, index) {
    progressBar()->setRange(0, Steps);
    progressBar()->setTextVisible(false);
    update();
}

QProgressBar* ProgressBar::progressBar() const {
    return static_cast<QProgressBar*>(widget());
}

void ProgressBar::setMax(double max) {
    if (max <= m_min) runtime::raise(runtime::err::InvalidPropertyValue);
    m_max = max;
    m_value = std::min(m_value, m_max);
    update();
}

void ProgressBar::setValue(double value) {
    if (value < m_min || value > m_max) runtime::raise(runtime::err::InvalidPropertyValue);
    if (value == m_value) return;
    m_value = value;
    update();
}

void ProgressBar::update() {
    progressBar()->setValue(static_cast<int>(std::lround((m_value - m_min) / (m_max - m_min) * Steps)));
}

} // namespace forms
