#include "toolkit/image.h"

#include "toolkit/drawing.h"

namespace KelUtility {

Image::Image(GUIElement* owner, int resource) : Child(owner), resourceId(resource) {
    typeName = "image";
}

Image::~Image() {
    if (bitmap != nullptr)
        DeleteObject(bitmap);
}

void Image::Create() {
    if (created)
        return;
    const DWORD style = BaseStyle() | SS_NOTIFY | SS_BITMAP | (border ? WS_BORDER : 0);
    if (!CreateControlWindow(L"static", style, border ? WS_EX_CLIENTEDGE : 0))
        return;
    created = true;
    if (resourceId == -1)
        LoadFromFile(fileName);
    else
        LoadFromResource(resourceId);
    FinishCreate();
}

// The control lets go of the old picture before it is deleted, also when the new one did
// not load, so it never paints a deleted bitmap.
void Image::ShowBitmap(HBITMAP loaded) {
    HBITMAP previous = bitmap;
    bitmap = loaded;
    SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (previous != nullptr)
        DeleteObject(previous);
}

void Image::LoadFromFile(const std::string& path) {
    fileName = path;
    resourceId = -1;
    if (created && !path.empty())
        ShowBitmap(Drawing::LoadBitmapFile(path));
}

void Image::LoadFromResource(int id) {
    fileName.clear();
    resourceId = id;
    if (created && id > 0)
        ShowBitmap(static_cast<HBITMAP>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id & 0xFFFF), IMAGE_BITMAP,
            fitToSize ? width : 0, fitToSize ? height : 0, LR_CREATEDIBSECTION)));
}

} // namespace KelUtility
