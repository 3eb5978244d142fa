#include "ImageList.h"

#include "runtime/RuntimeError.h"

namespace forms {

ImageList::ImageList(Container& container, const QString& name) : Control(container, name) {}

int ImageList::add(const QImage& picture, const QString& key) {
    m_images.append(ListImage{key, picture});
    return int(m_images.size());
}

const ImageList::ListImage& ImageList::ListImages(int index) const {
    if (index < 1 || index > m_images.size()) runtime::raise(runtime::err::IndexOutOfBounds);
    return m_images[index - 1];
}

const ImageList::ListImage& ImageList::ListImages(const QString& key) const {
    for (const ListImage& image : m_images)
        if (!image.key.isEmpty() && image.key == key) return image;
    runtime::raise(runtime::err::ElementNotFound);
}

} // namespace forms
