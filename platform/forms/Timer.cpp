#include "Timer.h"

#include "Events.h"

#include <QTimer>
#include <QWidget>

namespace forms {

Timer::Timer(Container& form, const QString& name, int interval, bool enabled)
    : Control(form, name), m_timer(new QTimer(form.containerWidget())), m_interval(interval),
      m_enabled(enabled) {
    m_timer->setObjectName(name);
    QObject::connect(m_timer, &QTimer::timeout, [this] { fireEvent(m_handler); });
    restart();
}

// The timer belongs to the form's window.
Timer::~Timer() {
    m_timer->stop();
}

void Timer::setEnabled(bool enabled) {
    m_enabled = enabled;
    restart();
}

void Timer::setInterval(int interval) {
    m_interval = interval;
    restart();
}

void Timer::restart() {
    m_timer->stop();
    if (m_enabled && m_interval > 0) m_timer->start(m_interval);
}

} // namespace forms
