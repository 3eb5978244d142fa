#pragma once

#include "Control.h"

#include <QString>

#include <functional>
#include <memory>
#include <typeindex>
#include <vector>

class QWidget;

namespace forms {

class Menu;
class MessageLoop;
class FormWindow;

// How Show shows a form: beside the others, or modal until it is hidden or unloaded.
enum ShowMode { Modeless = 0, Modal = 1 };
// Why a form is unloading, as Form_QueryUnload receives it: the close box, or code.
enum UnloadMode { FormControlMenu = 0, FormCode = 1 };

// A window class of the program. Each class has one default instance, reached through
// forms::instance<T>(): the first touch creates it and runs Form_Load without showing it;
// Unload closes it, and the next touch loads a fresh one. The program lives while a form
// is loaded. Positions and sizes are twips; Height and Width are the outer size of the
// window, title bar and borders included.
class Form : public Container {
public:
    explicit Form(const QString& name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& name() const { return m_name; }
    QWidget* window() const;
    QWidget* containerWidget() const override;
    Form& parentForm() const override { return const_cast<Form&>(*this); }

    QString caption() const;
    void setCaption(const QString& caption);

    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);
    // The designed size of the area inside the borders.
    void setClientSize(int width, int height);
    int scaleHeight() const;

    bool isLoaded() const { return !m_unloaded; }
    bool visible() const;

    // Show: modeless returns at once; modal returns when the form is hidden or unloaded.
    void show(ShowMode mode = Modeless);
    void hide();
    // Unload: Form_QueryUnload may cancel it (the result is then false); otherwise the
    // window closes for good.
    bool unload(UnloadMode mode = FormCode);

    // PopupMenu: shows the menu at the mouse position and returns when it closes.
    void popupMenu(Menu& menu);

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode) {
        (void)Cancel;
        (void)UnloadMode;
    }

private:
    friend class FormWindow;
    friend class FormRegistry;
    friend void loadForm(std::type_index type, Form* form);

    void activated();
    // Drops the form as the registry's active one.
    void notActive();
    void closeBox();

    QString m_name;
    FormWindow* m_window;
    MessageLoop* m_modalLoop = nullptr;
    bool m_unloaded = false;
    bool m_placed = false;
};

// The default instances of a program's form classes, and the forms unloaded but not yet
// deleted (deleted once no handler runs). The registry made last and still alive serves
// forms::instance and the functions below; without one, a first touch raises error 91. Its
// end unloads the forms still loaded, without events, and deletes them.
class FormRegistry {
public:
    FormRegistry();
    ~FormRegistry();
    FormRegistry(const FormRegistry&) = delete;
    FormRegistry& operator=(const FormRegistry&) = delete;

private:
    friend class Form;
    friend class FormWindow;
    friend Form* findForm(std::type_index type);
    friend void loadForm(std::type_index type, Form* form);
    friend int loadedForms();
    friend void setLastFormListener(std::function<void()> listener);

    struct Loaded {
        std::type_index type;
        Form* form;
    };

    static FormRegistry* current();
    void deleteUnloaded();

    std::vector<Loaded> m_loaded;
    std::vector<Form*> m_unloaded;
    std::function<void()> m_lastFormListener;
    Form* m_activeForm = nullptr;
    FormRegistry* m_previous;
};

// The loaded default instance of a class, or nullptr.
Form* findForm(std::type_index type);
// Registers a new default instance and runs its Form_Load; without a registry the form is
// deleted and error 91 raised.
void loadForm(std::type_index type, Form* form);

// The default instance of a form class, loaded on first touch.
template <class T> T& instance() {
    if (Form* form = findForm(typeid(T))) return static_cast<T&>(*form);
    T* form = new T();
    loadForm(typeid(T), form);
    return *form;
}

// Whether the default instance of a form class is loaded (without loading it).
template <class T> bool isLoaded() {
    return findForm(typeid(T)) != nullptr;
}

// The number of loaded forms.
int loadedForms();

// Called when the last loaded form unloads.
void setLastFormListener(std::function<void()> listener);

} // namespace forms
