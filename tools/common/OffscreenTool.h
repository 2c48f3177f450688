#pragma once

#include "app/Startup.h"

#include <QApplication>
#include <QString>
#include <QTextStream>

// The start of a tool that makes the program's windows to write what they
// show: drawn offscreen unless QT_QPA_PLATFORM names a platform, the
// application prepared as the program prepares it, and one argument, the
// output path. Without it the usage is told and output() is empty.
class OffscreenTool
{
public:
    OffscreenTool(int& argc, char** argv, const char* usage)
        : m_platformChosen(chooseOffscreen()), m_app(argc, argv)
    {
        Startup::prepareApplication();
        if (m_app.arguments().size() < 2)
            QTextStream(stderr) << "usage: " << usage << Qt::endl;
        else
            m_output = m_app.arguments().at(1);
    }

    QString output() const { return m_output; }

private:
    // Before the application is made, which reads it.
    static bool chooseOffscreen()
    {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty())
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }

    bool m_platformChosen;
    QApplication m_app;
    QString m_output;
};
