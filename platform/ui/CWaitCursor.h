#pragma once
// The framework's wait cursor: while one lives, every window of the program shows the busy cursor,
// as opening a large picture or writing a long data file does. They nest, each giving back what it
// took. Rests on Qt's application override cursor, which Qt shows over every window, message boxes
// included: a message box belongs after the wait cursor's scope, never inside it.

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    bool m_bShown = false;
};
