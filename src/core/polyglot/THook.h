#pragma once

// Routes the program's message catalogue through the translation engine while
// it is on: a number that the open language file names gets the file's text,
// every other number the program's own. Routing ends with the hook.
class THook
{
public:
    THook();
    ~THook();
    THook(const THook&) = delete;
    THook& operator=(const THook&) = delete;

    bool isOn() const { return m_on; }
    void setOn(bool on) { m_on = on; }

private:
    bool m_on = false;
};
