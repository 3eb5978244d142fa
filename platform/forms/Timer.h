#pragma once

#include "Control.h"

#include <functional>

class QTimer;

namespace forms {

// A timer: while enabled with an interval above 0 it raises its Timer event every
// interval milliseconds.
class Timer : public Control {
public:
    Timer(Container& form, const QString& name, int interval = 0, bool enabled = true);
    ~Timer() override;

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int interval);
    void onTimer(std::function<void()> handler) { m_handler = std::move(handler); }

private:
    void restart();
    QTimer* m_timer;
    int m_interval;
    bool m_enabled;
    std::function<void()> m_handler;
};

} // namespace forms
