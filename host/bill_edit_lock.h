// The edit lock of the bill a form holds open, a row of t_BillMutex: whether this user holds
// it (the bill control's MutexSuccess), and whether this form took it, so that the form gives
// back only a lock it took.
#pragma once

namespace velaqm::host {

class Session;

class BillEditLock {
  public:
    struct Outcome {
        bool held = false;
        bool taken = false;
    };

    BillEditLock(Session& session, int classTypeId);

    // Reads and takes in one transaction, so that two users opening the bill at once do not
    // both take it. Inside a save's transaction it is part of that transaction.
    Outcome TryTake(int billId) const;
    // What this form now holds, as TryTake found it.
    void Adopt(const Outcome& outcome);
    Outcome Current() const { return {m_held, m_taken}; }
    // A bill not saved yet has no lock to wait for.
    void AssumeHeld() { m_held = true; }
    // Gives back the lock of the bill when this form took it.
    void Release(int billId);
    bool Held() const { return m_held; }

  private:
    Session& m_session;
    int m_classTypeId;
    bool m_held = true;
    bool m_taken = false;
};

}  // namespace velaqm::host
