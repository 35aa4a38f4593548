// The test host: a small COM server that stands in for the ERP client around the plug-in server.
// Its bill and list objects carry the client's type names and raise the client's events through
// connection points; its components answer under the ProgIDs the plug-ins create. A script
// drives it all: it makes a bill, hands it to a plug-in, raises events and reads back what the
// plug-in did (tool states, locks, component calls, the messages shown).
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "typelib/com_raii.h"

namespace velaqm::testhost {

using com::ComPtr;

struct BillState;

// The rows the data components answer a statement with: the first column names, then the rows.
struct QueryAnswer {
    std::wstring part;
    std::vector<std::wstring> columns;
    std::vector<std::vector<com::Variant>> rows;
};

// What the components saw and how they answer, one per process: the script sets it up and reads
// it back through the Host object.
struct HostState {
    std::wstring propsString = L"UserID=16394;UserName=tester;SubID=QM;Language=chs";
    bool rightGranted = true;
    bool checkSucceeds = true;
    std::wstring checkReturn = L"audit done";
    LONG checkerId = 16394;
    std::vector<std::wstring> calls;
    std::vector<std::wstring> messages;
    int messageAnswer = IDOK;
    // The bills alive, so that the audit service can change the one it is given.
    std::vector<std::weak_ptr<BillState>> bills;
    // What the connection and the report data answer: the latest answer whose part the
    // statement contains (any case); a statement none matches has no rows.
    std::vector<std::shared_ptr<const QueryAnswer>> answers;

    void Record(std::wstring call) { calls.push_back(std::move(call)); }
    // Sets the checker of the bill whose FID is `billId`, as an audit does (none: no change).
    void SetChecker(LONG billId, LONG checker);
    std::shared_ptr<const QueryAnswer> AnswerTo(const std::wstring& sql) const;
};

HostState& State();

// The objects a script creates by ProgID (see test_host_server.cpp for the table).
ComPtr<IDispatch> NewHost();
ComPtr<IDispatch> NewShareProps();
ComPtr<IDispatch> NewGLData();
ComPtr<IDispatch> NewBillSimpleCheck();
ComPtr<IDispatch> NewResLoader();
ComPtr<IDispatch> NewLangInfo();
ComPtr<IDispatch> NewAppConnection();
ComPtr<IDispatch> NewShopRptData();
ComPtr<IDispatch> NewDataInfo();
ComPtr<IDispatch> NewClassLink();
ComPtr<IDispatch> NewGradingData();
ComPtr<IDispatch> NewMrpRuntime();
ComPtr<IDispatch> NewItemDialog();

// The bill and list objects, made by the Host object.
ComPtr<IDispatch> NewBill(LONG classTypeId, const std::wstring& className);
ComPtr<IDispatch> NewList(LONG classTypeId);

// Shows every message box of the calling thread to the test instead of the screen: its title and
// text are kept in HostState::messages and it is closed with HostState::messageAnswer (or OK
// when the box has no such button).
void WatchMessageBoxes();

// This DLL's file, which holds the type library.
std::wstring ModuleFile();

}  // namespace velaqm::testhost
