#pragma once

// A static picture, loaded from a bitmap file or from the program's resources.

#include "toolkit/child.h"

namespace KelUtility {

class Image : public Child {
public:
    // resourceId -1: the picture comes from fileName.
    Image(GUIElement* owner, int resourceId);
    ~Image() override;

    void Create() override;
    void LoadFromFile(const std::string& path);
    void LoadFromResource(int resourceId);

    std::string fileName;
    int resourceId = -1;
    // A resource picture is stretched to the element's size, rather than shown at its own.
    bool fitToSize = false;
    HBITMAP bitmap = nullptr; // owned
    bool border = false;

private:
    void ShowBitmap(HBITMAP loaded);
};

} // namespace KelUtility
