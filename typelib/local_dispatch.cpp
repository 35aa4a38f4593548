#include "typelib/local_dispatch.h"

#include <atomic>
#include <string>
#include <vector>

#include "frame/collections.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"
#include "typelib/com_error.h"
#include "typelib/com_variant.h"
#include "typelib/untyped_dispatch.h"

namespace velaqm::com {

namespace {

// Asked for by LocalObjectBehind only: the face answers it with itself.
// {6F1C2B7E-3D44-4C8A-9B51-7A0E2F5C9D13}
constexpr IID kLocalFaceIid = {
    0x6f1c2b7e, 0x3d44, 0x4c8a, {0x9b, 0x51, 0x7a, 0x0e, 0x2f, 0x5c, 0x9d, 0x13}};

enum Member : DISPID {
    kItem = DISPID_VALUE,
    kExists = 1,
    kCount,
    kRemove,
    kClear,
    kKeys,
    kSize,
    kInsert
};

class LocalFace final : public UntypedDispatch {
  public:
    LocalFace(ObjectPtr object, const NameTable& names)
        : UntypedDispatch(kLocalFaceIid), m_object(std::move(object)), m_names(names) {}
    const ObjectPtr& Object() const { return m_object; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) noexcept override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        const std::string name = Utf8Of(names[0]);
        ids[0] = DISPID_UNKNOWN;
        for (UINT i = 1; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        const bool dictionary = IsDictionary();
        const std::string_view prefix = dictionary ? "Dictionary." : "Vector.";
        const std::pair<std::string_view, Member> members[] = {
            {"Item", kItem},   {"Exists", kExists}, {"Count", kCount}, {"Remove", kRemove},
            {"Clear", kClear}, {"Keys", kKeys},     {"Size", kSize},   {"Insert", kInsert}};
        for (const auto& [role, id] : members)
            if (EqualsNoCase(name, m_names.Member(std::string(prefix) + std::string(role)))) {
                ids[0] = id;
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) noexcept override {
        return Guard(IID_IDispatch, [&]() -> HRESULT {
            std::vector<velaqm::Variant> args;
            const UINT count = params ? params->cArgs : 0;
            for (UINT i = 0; i < count; ++i)
                args.push_back(FromVariant(params->rgvarg[count - 1 - i]));
            const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
            velaqm::Variant answer =
                IsDictionary() ? OnDictionary(id, put, args) : OnVector(id, put, args);
            if (result) ToVariant(answer).detach_to(result);
            return S_OK;
        });
    }

  private:
    ~LocalFace() override = default;
    bool IsDictionary() const { return dynamic_cast<Dictionary*>(m_object.get()) != nullptr; }
    static const velaqm::Variant& Arg(const std::vector<velaqm::Variant>& args, std::size_t i) {
        if (i >= args.size())
            throw HostError(kErrInvalidCall, "Dictionary", "Argument not optional");
        return args[i];
    }

    velaqm::Variant OnDictionary(DISPID id, bool put, const std::vector<velaqm::Variant>& args) {
        auto& dictionary = static_cast<Dictionary&>(*m_object);
        switch (id) {
            case kItem:
                if (put) {
                    dictionary.SetItem(Text(Arg(args, 0)), Arg(args, 1));
                    return {};
                }
                return dictionary.Item(Text(Arg(args, 0)));
            case kExists:
                return dictionary.Exists(Text(Arg(args, 0)));
            case kCount:
                return static_cast<std::int64_t>(dictionary.Count());
            case kRemove:
                dictionary.Remove(Text(Arg(args, 0)));
                return {};
            case kClear:
                dictionary.Clear();
                return {};
            case kKeys: {
                VectorPtr keys = NewVector();
                for (const auto& entry : dictionary.Entries())
                    keys->Insert(entry.first);
                return velaqm::Variant(keys);
            }
            default:
                throw HostError(kErrNoSuchMember, "Dictionary",
                                "Object doesn't support this property or method");
        }
    }

    velaqm::Variant OnVector(DISPID id, bool put, const std::vector<velaqm::Variant>& args) {
        auto& vector = static_cast<Vector&>(*m_object);
        auto index = [&](std::size_t i) { return IndexNumber(Arg(args, i)); };
        switch (id) {
            case kItem:
                if (put) {
                    vector.SetItem(index(0), Arg(args, 1));
                    return {};
                }
                return vector.Item(index(0));
            case kSize:
            case kCount:
                return static_cast<std::int64_t>(vector.Size());
            case kInsert:
                if (args.size() > 1)
                    vector.Insert(index(1), args[0]);
                else
                    vector.Insert(Arg(args, 0));
                return {};
            case kRemove:
                vector.Remove(index(0));
                return {};
            case kClear:
                vector.Clear();
                return {};
            default:
                throw HostError(kErrNoSuchMember, "Vector",
                                "Object doesn't support this property or method");
        }
    }

    ObjectPtr m_object;
    const NameTable& m_names;
};

}  // namespace

ComPtr<IDispatch> LocalDispatchOf(const ObjectPtr& object, const NameTable& names) {
    if (!dynamic_cast<LocalDictionary*>(object.get()) && !dynamic_cast<LocalVector*>(object.get()))
        return nullptr;
    return ComPtr<IDispatch>::attach(new LocalFace(object, names));
}

ObjectPtr LocalObjectBehind(IDispatch* face) {
    if (!face) return nullptr;
    ComPtr<IDispatch> own;
    if (FAILED(face->QueryInterface(kLocalFaceIid, own.put_void())) || !own) return nullptr;
    return static_cast<LocalFace*>(own.get())->Object();
}

}  // namespace velaqm::com
