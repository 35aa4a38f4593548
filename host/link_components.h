// The substitute of the host's class link (`VelaClassLink.ClassLink`) and of the source-bill
// selection of a bill form: bills of one class filled from chosen bills of another through the
// links of ICClassLink, which name for each field of the target the source column that fills it.
#pragma once

#include <vector>

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/object.h"
#include "host/session.h"

namespace velaqm::host {

// The bill data that the chosen rows ("FInterID" and, for entry rows, "FEntryID") of bills of
// the source class give a bill of the target template, as BillCtl.DoFilldata takes it: "Page1"
// the head fields from the first chosen row, "Page2" one row per chosen source row, every
// value marked "FModify". HostError when the catalog links the classes by no field.
DictionaryPtr LinkedBillData(Session& session, int sourceClassTypeId, const DataSrv& target,
                             const VectorPtr& chosen);

// The classes whose bills fill bills of the class, in the catalog's order.
std::vector<int> SourceClassesOf(Session& session, int classTypeId);

// The source-bill selection window: the saved bills of the source class, of which the next
// `choose` picks; the picked bills as rows with "FInterID", or null when the person picked none.
VectorPtr ChooseSourceBills(Session& session, int sourceClassTypeId);

ObjectPtr MakeClassLink(Session& session);

}  // namespace velaqm::host
