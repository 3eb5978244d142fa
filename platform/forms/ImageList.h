#pragma once

#include "Control.h"

#include <QImage>
#include <QString>
#include <QVector>

namespace forms {

// A list of pictures, addressed by index from 1 or by key (ListImages(i).Picture).
class ImageList : public Control {
public:
    struct ListImage {
        QString key;
        QImage Picture;
    };

    ImageList(Container& container, const QString& name);

    // Adds a picture at the end; returns its index.
    int add(const QImage& picture, const QString& key = {});
    int count() const { return int(m_images.size()); }
    void clear() { m_images.clear(); }

    // The image at an index from 1, or by key; error 35600 ("Index out of bounds") or
    // 35601 ("Element not found") when there is none.
    const ListImage& ListImages(int index) const;
    const ListImage& ListImages(const QString& key) const;

private:
    QVector<ListImage> m_images;
};

} // namespace forms
