#include "VtFormRegistry.h"

#include <QMap>
#include <QWidget>

namespace {
struct TEntry
{
    QString Name;
    TVtFormRegistry::TFactory Factory;
};

QMap<QString, TEntry> &Registry()
{
    static QMap<QString, TEntry> registry;
    return registry;
}
}

void TVtFormRegistry::RegisterClass(const QString &className, TFactory factory)
{
    Registry().insert(className.toUpper(), TEntry{className, std::move(factory)});
}

void TVtFormRegistry::UnregisterClass(const QString &className)
{
    Registry().remove(className.toUpper());
}

bool TVtFormRegistry::IsRegistered(const QString &className)
{
    return Registry().contains(className.toUpper());
}

QStringList TVtFormRegistry::ClassNames()
{
    QStringList names;
    for (const TEntry &e : Registry())
        names << e.Name;
    return names;
}

QWidget *TVtFormRegistry::CreateForm(const QString &className, QWidget *parent)
{
    auto it = Registry().constFind(className.toUpper());
    if (it == Registry().constEnd() || !it->Factory)
        return nullptr;
    QWidget *form = it->Factory(parent);
    if (form)
        form->setProperty(VtClassNameProperty, it->Name);
    return form;
}

QString TVtFormRegistry::ClassNameOf(const QWidget *form)
{
    if (!form)
        return QString();
    const QVariant name = form->property(VtClassNameProperty);
    if (name.isValid() && !name.toString().isEmpty())
        return name.toString();
    return QString::fromLatin1(form->metaObject()->className());
}
