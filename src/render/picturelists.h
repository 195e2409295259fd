#pragma once

#include <string>

#include "render/dibimage.h"

namespace vesk {

/// The editor's four picture lists: the object and group types that can be inserted, the
/// clipboard entry, the pictures that ship with the editor and the pictures of the project.
struct PictureLists {
    CDibImageList insertedObjects;
    CDibImageList clipboard;
    CDibImageList builtinImages;
    CDibImageList stationImages;
};

/// Refills all four lists from the picture folders (file-system paths ending in "/"): the
/// inserted objects from the data folder's "objects/", the clipboard entry from its
/// "samples/Clipboard.png", the built-in images from its "assets/", the station images from the
/// project's resources folder. Each folder gives its ".png" files, then its ".jpg" files, sorted
/// by name (LoadPictureFolder). A missing folder or file leaves its list empty.
void LoadPictureLists(PictureLists& lists, const std::string& dataFolder, const std::string& resourcesFolder);

} // namespace vesk
