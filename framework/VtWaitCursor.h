#pragma once

// The hourglass for as long as the scope lasts, restored however it ends.
class TVtWaitCursor
{
public:
    TVtWaitCursor();
    ~TVtWaitCursor();
    TVtWaitCursor(const TVtWaitCursor &) = delete;
    TVtWaitCursor &operator=(const TVtWaitCursor &) = delete;
};
