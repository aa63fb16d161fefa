#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

// Root opens and writes files whatever their mode bits say. To see read-only
// files and folders as an ordinary user does, files are accessed with the
// identity "nobody" while an object of this class lives: the file-system user
// and group IDs only, so that the rest of the process stays root. Folders the
// test makes must then be reachable by "nobody". Without root nothing changes.
class OrdinaryUserFileAccess
{
public:
    OrdinaryUserFileAccess()
    {
        if (::geteuid() != 0)
            return;
        m_changed = true;
        ::setfsgid(Nobody);
        ::setfsuid(Nobody);
        // setfsuid answers with the previous ID; asking again tells whether it took.
        m_active = ::setfsuid(Nobody) == int(Nobody);
    }
    ~OrdinaryUserFileAccess()
    {
        if (!m_changed)
            return;
        ::setfsuid(0);
        ::setfsgid(0);
    }
    OrdinaryUserFileAccess(const OrdinaryUserFileAccess &) = delete;
    OrdinaryUserFileAccess &operator=(const OrdinaryUserFileAccess &) = delete;

    bool rootNotDropped() const { return m_changed && !m_active; }

private:
    static constexpr uid_t Nobody = 65534;
    bool m_changed = false;
    bool m_active = false;
};
