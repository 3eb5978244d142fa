#pragma once

#include "Twips.h"

#include <QString>

class QWidget;

namespace forms {

class Form;

// Something that holds controls: a form, a frame or a picture box.
class Container {
public:
    virtual ~Container() = default;
    // The widget that the contained controls' widgets are children of.
    virtual QWidget* containerWidget() const = 0;
    // The form the container belongs to.
    virtual Form& parentForm() const = 0;
};

// A control of a form: its name, its index within a control array (-1 outside one) and
// its Tag text. Non-visual controls (timer, image list, save dialog) are plain controls.
class Control {
public:
    Control(Container& container, const QString& name, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& name() const { return m_name; }
    int index() const { return m_index; }
    const QString& tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    Container& container() const { return m_container; }
    Form& form() const { return m_container.parentForm(); }

private:
    Container& m_container;
    QString m_name;
    int m_index;
    QString m_tag;
};

// A control with a widget on the form: position and size in twips within its container,
// Visible and Enabled as its own properties (a hidden or disabled container hides or
// disables what it holds), and the focus.
class WidgetControl : public Control {
public:
    WidgetControl(Container& container, QWidget* widget, const QString& name, const TwipsRect& rect,
                  int index = -1);
    ~WidgetControl() override;

    QWidget* widget() const { return m_widget; }

    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void move(int left, int top, int width, int height);
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);

    bool visible() const;
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);

    // SetFocus: error 5 when the control cannot take the focus (hidden or disabled, or its
    // form not shown).
    void setFocus();

    void setFont(const QString& family, double pointSize = 0, bool bold = false);

private:
    QWidget* m_widget;
};

} // namespace forms
