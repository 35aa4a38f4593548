#include "cli/temp_database.h"

#include <limits.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>

namespace velaqm::cli {

namespace {

// SQLite's side files go with the database.
constexpr std::array<const char*, 4> kSuffixes = {"", "-journal", "-wal", "-shm"};

// The copies a signal handler removes: paths kept as preallocated C strings, since the handler
// may neither allocate nor take a lock. A slot is armed only while its path is complete.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathBytes = PATH_MAX + 16;
struct Slot {
    volatile std::sig_atomic_t armed = 0;
    std::array<std::array<char, kPathBytes>, kSuffixes.size()> paths{};
};
std::array<Slot, kSlots> g_slots;
std::mutex g_slotsMutex;  // guards choosing a slot, never taken by the handler

extern "C" void RemoveCopiesAndEnd(int signal) {
    for (Slot& slot : g_slots) {
        if (!slot.armed) continue;
        for (const auto& path : slot.paths)
            unlink(path.data());
    }
    // SA_RESETHAND restored the default action; it ends the process once the handler returns.
    raise(signal);
}

void InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int signal : {SIGINT, SIGTERM}) {
            struct sigaction current {};
            // A signal the caller chose to ignore (a background job's SIGINT) stays ignored.
            if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
                continue;
            struct sigaction action {};
            action.sa_handler = RemoveCopiesAndEnd;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND;
            sigaction(signal, &action, nullptr);
        }
    });
}

// A free slot for `path`, armed; kSlots when none is free (the copy is then removed only by
// the destructor) or the path does not fit.
std::size_t ArmSlot(const std::string& path) {
    if (path.size() + std::strlen("-journal") >= kPathBytes) return kSlots;
    const std::lock_guard lock(g_slotsMutex);
    for (std::size_t i = 0; i < kSlots; ++i) {
        Slot& slot = g_slots[i];
        if (slot.armed) continue;
        for (std::size_t k = 0; k < kSuffixes.size(); ++k) {
            const std::string full = path + kSuffixes[k];
            std::memcpy(slot.paths[k].data(), full.c_str(), full.size() + 1);
        }
        std::atomic_signal_fence(std::memory_order_seq_cst);  // the paths before the flag
        slot.armed = 1;
        return i;
    }
    return kSlots;
}

void DisarmSlot(std::size_t index) {
    if (index >= kSlots) return;
    const std::lock_guard lock(g_slotsMutex);
    g_slots[index].armed = 0;
}

}  // namespace

TempDatabase::TempDatabase(const std::filesystem::path& seed) {
    InstallHandlers();
    std::string name = (std::filesystem::temp_directory_path() / "velaqm-XXXXXX.db").string();
    const int fd = mkstemps(name.data(), 3);
    if (fd < 0) throw std::runtime_error("cannot create a temporary database in " + name);
    close(fd);
    m_path = name;
    m_slot = ArmSlot(name);
    std::error_code error;
    std::filesystem::copy_file(seed, m_path, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) {
        DisarmSlot(m_slot);
        std::filesystem::remove(m_path, error);
        throw std::runtime_error("cannot copy the seeded database " + seed.string() + ": " +
                                 error.message());
    }
}

TempDatabase::~TempDatabase() {
    std::error_code ignored;
    for (const char* suffix : kSuffixes)
        std::filesystem::remove(m_path.string() + suffix, ignored);
    DisarmSlot(m_slot);
}

}  // namespace velaqm::cli
