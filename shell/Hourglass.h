#pragma once
/// The hourglass cursor while the program works with the controller: remembers the cursor that
/// was shown and brings it back on restore (or when the scope ends).

namespace r73 {

class Hourglass
{
public:
    Hourglass() = default;
    ~Hourglass() { restore(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

    void show();
    void restore();
    bool shown() const { return m_shown; }

private:
    bool m_shown = false;
};

} // namespace r73
