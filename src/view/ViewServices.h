#pragma once

class IBeeper;
class IClock;
class IPointer;
class IPrompter;
class SettingsStore;

// What the view needs from the desktop, injectable so tests answer prompts, count beeps and
// move time without sleeping.
struct ViewServices {
    SettingsStore& settings;
    IPrompter& prompter;
    IBeeper& beeper;
    IClock& clock;
    IPointer& pointer;
};
