#include "typelib/com_error.h"

#include <new>
#include <stdexcept>
#include <string>

#include "frame/host_error.h"
#include "typelib/com_raii.h"

namespace velaqm::com {

namespace {

constexpr std::string_view kDefaultSource = "VelaQMBillEvent";

// Sets the thread's error object; a failure to build it only loses the text, not the HRESULT.
void SetThreadErrorInfo(const IID& iid, std::string_view source,
                        std::string_view description) noexcept {
    try {
        ComPtr<ICreateErrorInfo> create;
        if (FAILED(CreateErrorInfo(create.put()))) return;
        const Bstr sourceText(WideOf(source.empty() ? kDefaultSource : source));
        const Bstr descriptionText(WideOf(description));
        create->SetGUID(iid);
        create->SetSource(sourceText.get());
        create->SetDescription(descriptionText.get());
        if (auto info = create.try_query<IErrorInfo>()) SetErrorInfo(0, info.get());
    } catch (...) {
        SetErrorInfo(0, nullptr);
    }
}

HRESULT Report(const IID* iid, HRESULT hr, std::string_view source, std::string_view text) {
    if (iid) SetThreadErrorInfo(*iid, source, text);
    return hr;
}

}  // namespace

HRESULT HResultOf(std::int32_t number) noexcept {
    if (number < 0) return static_cast<HRESULT>(number);
    if (number > 0 && number <= 0xFFFF)
        return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<unsigned>(number));
    return E_FAIL;  // 0 or a positive number no HRESULT can hold
}

std::int32_t ErrNumberOf(HRESULT hr) noexcept {
    if (FAILED(hr) && HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return static_cast<std::int32_t>(hr);
}

HRESULT ReportCurrentException(const IID* iid) noexcept {
    try {
        throw;
    } catch (const HostError& error) {
        return Report(iid, HResultOf(error.Number()), error.Source(), error.Description());
    } catch (const ComError& error) {
        return Report(iid, error.Code(), kDefaultSource, error.what());
    } catch (const std::bad_alloc&) {
        return Report(iid, E_OUTOFMEMORY, kDefaultSource, "Out of memory");
    } catch (const std::exception& error) {
        return Report(iid, E_FAIL, kDefaultSource, error.what());
    } catch (...) {
        return Report(iid, E_UNEXPECTED, kDefaultSource, "Unexpected error");
    }
}

HRESULT AsDispatchException(HRESULT hr, EXCEPINFO* exception) noexcept {
    if (SUCCEEDED(hr) || !exception || hr == DISP_E_EXCEPTION) return hr;
    *exception = EXCEPINFO{};
    exception->scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        info->GetSource(&exception->bstrSource);
        info->GetDescription(&exception->bstrDescription);
        SetErrorInfo(0, info.get());
    }
    return DISP_E_EXCEPTION;
}

}  // namespace velaqm::com
