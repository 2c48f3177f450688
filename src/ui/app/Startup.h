#pragma once

#include <QString>
#include <functional>
#include <memory>

class PreferenceStore;
class TbsCorePolyglot;
class TData;
class TfrmBase;

// The program's start-up: creates the windows in their order and shows the
// main window. main() calls run(); a test builds a Startup in-process with
// its own paths and engine answer, then drives the windows by their names.
class Startup
{
public:
    struct Options
    {
        QString storePath;
        QString preferencePath;
        QString applicationDir;
        // Empty: ask Qt whether the driver of the store chosen is there.
        std::function<bool()> engineCheck;
    };
    // The program's own paths: the per-user data and configuration folders.
    static Options defaultOptions();

    explicit Startup(Options options = defaultOptions());
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    TfrmBase* mainWindow() const { return m_main.get(); }
    TData* data() const { return m_data; }
    std::shared_ptr<PreferenceStore> preferences() const { return m_preferences; }

    // Shows the main window, which then reads its theme and language and
    // builds the menu of cyclists, or ends the program without an engine.
    void show();
    // True when the program is to end at once (no engine).
    bool terminated() const;

    // The whole program: application object, start-up, message loop.
    static int run(int argc, char** argv);
    // What the application object needs before any window exists.
    static void prepareApplication();

private:
    // "lng" beside the program.
    QString languageDirectory() const;

    Options m_options;
    // The translation engine, when this start-up made it; it outlives every
    // window.
    std::unique_ptr<TbsCorePolyglot> m_engine;
    std::shared_ptr<PreferenceStore> m_preferences;
    std::unique_ptr<TfrmBase> m_main;
    TData* m_data = nullptr;
};
