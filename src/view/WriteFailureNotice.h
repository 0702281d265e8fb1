#pragma once

class IPrompter;
class SettingsStore;

// Tells the user that the profile cannot be written, once per run of failed writes.
class WriteFailureNotice {
public:
    WriteFailureNotice(IPrompter& prompter, const SettingsStore& settings)
        : m_Prompter(prompter), m_Settings(settings) {}

    void Report(bool written);

private:
    IPrompter& m_Prompter;
    const SettingsStore& m_Settings;
    bool m_ProfileWriteFailed = false; // the user has been told, and no write has worked since
};
