#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>

class SkinLabel;
class QWidget;

// A control array of skinned labels. Element 0 is the template: a tiny,
// hidden label captioned "Windowed Label" in the array's container. New
// elements are created by index in the container of element 0, take the
// template's look and start hidden. Every element carries the array's name
// as its object name and its index in the dynamic property "index".
//
// The array object itself is a child of the window that owns it and has the
// array's name, so it can be found with findChild<SkinLabelArray *>(name).
class SkinLabelArray : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *TemplateCaption = "Windowed Label";

    SkinLabelArray(const QString &name, QWidget *container, QObject *owner);

    // The element with this index, or nullptr.
    SkinLabel *element(qint16 index) const;
    SkinLabel *operator[](qint16 index) const { return element(index); }

    // The container of element 0, where every new element is placed.
    QWidget *container() const;

    qint16 lowerBound() const;
    qint16 upperBound() const;
    int count() const;
    QList<qint16> indexes() const;

    // Creates element `index`. Fails (nullptr) when the index is negative or
    // taken, or when the template's container is gone.
    SkinLabel *load(qint16 index);

private:
    QMap<qint16, QPointer<SkinLabel>> m_elements;
};
