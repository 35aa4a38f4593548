#include "billops/server_queries.h"

#include <array>
#include <exception>

#include "frame/convert.h"
#include "frame/host_services.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sql_text.h"

namespace velaqm {

namespace {

constexpr std::array kSwitchFiles = {"ErpSwitch.sss", "erpSystem\\ErpSwitch.sss"};
constexpr std::array kJetProviders = {"Microsoft.Jet.OLEDB.3.51", "Microsoft.Jet.OLEDB.4.0"};

std::string InFolder(std::string folder, std::string_view name) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + std::string(name);
}

// The file's path when it exists, made writable when it was read-only.
bool UsableFile(const std::string& path) {
    Platform& platform = CurrentPlatform();
    const auto attributes = platform.GetAttr(path);
    if (!attributes) return false;
    if (*attributes & kFileReadOnly) {
        try {
            platform.SetAttr(path, kFileArchive);
        } catch (const std::exception&) {
            // Opening still decides: a file that stays read-only may open all the same.
        }
    }
    return true;
}

// The connection string of the open connection, or "" when the provider cannot open the file.
std::string TryOpen(std::string_view provider, std::string_view path) {
    try {
        auto connection = CreateObject<AdoConnection>(progid::kAdoConnection);
        connection->Open(
            "PROVIDER=" + std::string(provider) + ";Data Source=" + std::string(path) + ";", "",
            "");
        std::string opened = connection->ConnectionString();
        connection->Close();
        return opened;
    } catch (const std::exception&) {
        return "";
    }
}

RecordsetPtr Execute(std::string_view sql) {
    return CreateObject<AppConnection>(progid::kAppConnection)->Execute(sql);
}

}  // namespace

std::string OpenSwitchDatabase() {
    const std::string folder = CurrentPlatform().ClientDirectory();
    for (std::string_view name : kSwitchFiles) {
        const std::string path = InFolder(folder, name);
        if (UsableFile(path)) return OpenJetDatabase(path);
    }
    return "";
}

std::string OpenJetDatabase(std::string_view path) {
    for (std::string_view provider : kJetProviders) {
        std::string opened = TryOpen(provider, path);
        if (!opened.empty()) return opened;
    }
    ShowMessage(LoadCVString("由于你的ODBC有误，系统不能与文件:'") + std::string(path) +
                    LoadCVString("'建立连接。"),
                kMsgOkOnly);
    return "";
}

Date GetServerDate() {
    try {
        const RecordsetPtr result = CreateObject<ShopRptData>(progid::kShopRptData)
                                        ->GetData(GetPropsString(), " Select GetDate() ");
        if (!result || result->Eof()) return CurrentPlatform().Now().DatePart();
        const auto serverDate = ToDate(result->Fields(0));
        if (!serverDate) throw HostError(kErrTypeMismatch, "VelaQMBillEvent", "Type mismatch");
        return serverDate->DatePart();
    } catch (const std::exception&) {
        ShowMessage(LoadCVString("读取中间层数据出现错误！"), kMsgOkOnly);
        return CurrentPlatform().Now().DatePart();
    }
}

std::string GetQMaInfoName(int classTypeId, std::string_view number) {
    const RecordsetPtr result =
        Execute(SqlFormat("Select Fname From QMaInfo where fClassTypeid=%1 and FNumber=%2",
                          {std::to_string(classTypeId), SqlText(number)}));
    return result && !result->Eof() ? Text(result->Fields("FName")) : "";
}

std::string GetSystemValue(std::string_view name) {
    return CreateObject<DataInfo>(progid::kDataInfo)->GetSysValue(GetPropsString(), "IC", name);
}

RecordsetPtr RunQuery(std::string_view sql) {
    return Execute(sql);
}

bool HasRow(const RecordsetPtr& rows) {
    return rows && !rows->Eof();
}

bool RecordExists(std::string_view sql) {
    const RecordsetPtr result = Execute(sql);
    return result && !result->Eof() && !result->Bof();
}

}  // namespace velaqm
