#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Form classes registered by name, so that commands, report datasets and
// lookups can create a form knowing only its class name (such as
// "TfmEbsCau"). A form created here carries its class name in the property
// "VtClassName", which FindForm reads.
class TVtFormRegistry
{
public:
    using TFactory = std::function<QWidget *(QWidget *parent)>;

    // Registers (or replaces) a class; the name is matched without regard to case.
    static void RegisterClass(const QString &className, TFactory factory);
    template <class T>
    static void RegisterClass(const QString &className)
    {
        RegisterClass(className, [](QWidget *parent) -> QWidget * { return new T(parent); });
    }
    static void UnregisterClass(const QString &className);
    static bool IsRegistered(const QString &className);
    static QStringList ClassNames();

    // A new form of the class, or null when the class is not registered.
    static QWidget *CreateForm(const QString &className, QWidget *parent = nullptr);
    // The class name a form was created with (its C++ class name otherwise).
    static QString ClassNameOf(const QWidget *form);
};

// Name of the property that holds a form's registered class name.
inline constexpr const char *VtClassNameProperty = "VtClassName";
