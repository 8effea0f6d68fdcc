#pragma once
// The whole registry at one moment (factories and instances), so that a test can put it back
// exactly as it found it and notice when something it ran left the registry changed.
#include <string>
#include <vector>

#include "nubra/ixo.h"

namespace orvo {

class RegistrySnapshot {
public:
    // Takes the registry as it is now.
    static RegistrySnapshot Take();

    // Makes the registry hold exactly the snapshot's names again. An instance destroyed since
    // cannot come back: its name stays away.
    void Restore() const;

    // One line per name that differs between the snapshot and the registry now; empty when
    // they are the same.
    std::vector<std::wstring> Differences() const;

private:
    struct Entry {
        std::wstring name;
        IXO::Factory factory = nullptr;
        IXORef instance;
    };
    std::vector<Entry> m_entries; // sorted by name without case
};

} // namespace orvo
