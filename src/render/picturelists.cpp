#include "render/picturelists.h"

namespace vesk {

void LoadPictureLists(PictureLists& lists, const std::string& dataFolder, const std::string& resourcesFolder)
{
    LoadPictureFolder(lists.insertedObjects, dataFolder + "objects/");
    lists.clipboard.Clear();
    lists.clipboard.LoadFile(dataFolder + "samples/Clipboard.png");
    LoadPictureFolder(lists.builtinImages, dataFolder + "assets/");
    LoadPictureFolder(lists.stationImages, resourcesFolder);
}

} // namespace vesk
