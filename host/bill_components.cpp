#include "host/bill_components.h"

#include <memory>
#include <string>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "host/catalog.h"
#include "host/db/db_error.h"
#include "host/native_sql.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

// The first number of an automation server's own errors.
constexpr std::int32_t kErrDeleteRefused = -2147220991;
constexpr std::string_view kSource = "VelaMClass.ClassUpdate";

// Deletes the head row and every entry row of a bill in one transaction, or throws and leaves
// the bill whole. A bill another user holds open for editing is not deleted under them.
class HostClassUpdate final : public ClassUpdate {
  public:
    explicit HostClassUpdate(Session& session) : m_session(session) {}

    void DeleteBill(std::string_view, int classTypeId, const Variant&, const Variant& billId,
                    const Variant&, const Variant&, const Variant&) override {
        const std::shared_ptr<const ClassDef> def = m_session.ClassDefOf(classTypeId);
        const auto id = static_cast<int>(WholeNumber(billId));
        Database& db = m_session.Db();
        Transaction transaction = db.BeginTransaction();
        const std::string head = QuoteName(def->HeadPage().tableName);
        if (QueryValue(db, "SELECT FID FROM " + head + " WHERE FID = ?", {id}).IsEmpty())
            throw HostError(kErrDeleteRefused, std::string(kSource), "单据不存在！");
        const Variant holder =
            QueryValue(db,
                       "SELECT FUserID FROM t_BillMutex WHERE FClassTypeID = ? AND FBillID = ? "
                       "AND FUserID <> ?",
                       {classTypeId, id, m_session.User().userId});
        if (!holder.IsEmpty())
            throw HostError(kErrDeleteRefused, std::string(kSource),
                            "单据正被其他用户修改，不能删除！");
        std::string deleted;
        try {
            for (const PageDef& page : def->pages)
                if (page.entryType != 0) deleted += Delete(page.tableName, id) + ", ";
            deleted += Delete(def->HeadPage().tableName, id);
            // This user's own edit lock goes with the bill.
            RunNative(db, "DELETE FROM t_BillMutex WHERE FClassTypeID = ? AND FBillID = ?",
                      {classTypeId, id});
        } catch (const DatabaseError& refused) {
            throw HostError(refused.Number(), std::string(kSource), refused.Message());
        }
        transaction.Commit();
        m_session.Log().Add(EntryKind::Note, "bill " + std::to_string(id) + " of class " +
                                                 std::to_string(classTypeId) +
                                                 " deleted: " + deleted);
    }

  private:
    // Deletes the bill's rows of one table; says how many went.
    std::string Delete(const std::string& table, int id) {
        RunNative(m_session.Db(), "DELETE FROM " + QuoteName(table) + " WHERE FID = ?", {id});
        return std::to_string(m_session.Db().GetConnection().Changes()) + " rows of " + table;
    }

    Session& m_session;
};

}  // namespace

ObjectPtr MakeClassUpdate(Session& session) {
    return std::make_shared<HostClassUpdate>(session);
}

}  // namespace velaqm::host
