// What a screen reader would be told, for tests: turns the toolkit's
// accessibility on, as a screen reader coming up does, and records every
// notice with the name and value the control had at that moment.
#pragma once

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVariant>

// The offscreen platform has no screen reader bridge to switch it on; the
// toolkit's own tests reach the platform's accessibility the same way.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

class AccessibilitySpy {
public:
    struct Notice {
        QAccessible::Event type;
        QPointer<QObject> object;
        QString name;
        QVariant value;
    };

    AccessibilitySpy()
    {
        notices().clear();
        QAccessible::installUpdateHandler(&record);
        if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
    }
    ~AccessibilitySpy()
    {
        if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }

    static bool active() { return QAccessible::isActive(); }
    void clear() { notices().clear(); }
    const QList<Notice>& all() const { return notices(); }

    // The names told with notices of one kind, in order, of `object` or of
    // any object when it is null.
    QStringList names(QAccessible::Event type, const QObject* object = nullptr) const
    {
        QStringList list;
        for (const Notice& n : notices())
            if (n.type == type && (!object || n.object == object))
                list << n.name;
        return list;
    }
    QList<QVariant> values(const QObject* object) const
    {
        QList<QVariant> list;
        for (const Notice& n : notices())
            if (n.type == QAccessible::ValueChanged && n.object == object)
                list << n.value;
        return list;
    }

private:
    static QList<Notice>& notices()
    {
        static QList<Notice> list;
        return list;
    }
    static void record(QAccessibleEvent* event)
    {
        Notice n{event->type(), event->object(), {}, {}};
        if (QAccessibleInterface* iface = event->accessibleInterface())
            n.name = iface->text(QAccessible::Name);
        if (event->type() == QAccessible::ValueChanged)
            n.value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
        notices().append(n);
    }
};
