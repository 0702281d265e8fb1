#pragma once

// What the commands ask of the widget itself.
class IViewShell {
public:
    virtual ~IViewShell() = default;
    // Both lists again at the size step in use.
    virtual void LayoutLists() = 0;
    virtual void ResizePad() = 0;
    virtual void HidePad() = 0;
    // The visible list gets `key` as if typed into it.
    virtual void PostKeyToList(int key) = 0;
};
