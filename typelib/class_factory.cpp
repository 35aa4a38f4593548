#include "typelib/class_factory.h"

#include <memory>

#include "plugins/plugin_table.h"
#include "typelib/com_classes.h"
#include "typelib/com_error.h"
#include "typelib/com_raii.h"
#include "typelib/module.h"
#include "typelib/ref_counted.h"

namespace velaqm::com {

namespace {

// A class whose plug-in is not built yet gets none; its object still serves the interface.
std::unique_ptr<Plugin> NewPlugin(const ComClass& cls) {
    const PluginEntry* entry = FindPlugin(cls.name);
    return entry ? entry->create() : nullptr;
}

class ClassFactory final : public RefCounted<IClassFactory> {
  public:
    explicit ClassFactory(const ComClass& cls) : m_class(cls) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
            return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                             void** object) noexcept override {
        return Guard(IID_IClassFactory, [&] {
            if (!object) return E_POINTER;
            *object = nullptr;
            if (outer) return CLASS_E_NOAGGREGATION;
            return m_class.create(m_class, NewPlugin(m_class), iid, object);
        });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
        LockModule(lock != FALSE);
        return S_OK;
    }

  private:
    ~ClassFactory() override = default;

    ModuleRef m_moduleRef;
    const ComClass& m_class;
};

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept {
    return Guard(IID_IClassFactory, [&] {
        if (!object) return E_POINTER;
        *object = nullptr;
        const ComClass* cls = FindComClass(clsid);
        if (!cls) return CLASS_E_CLASSNOTAVAILABLE;
        const auto factory = ComPtr<IClassFactory>::attach(new ClassFactory(*cls));
        return factory->QueryInterface(iid, object);
    });
}

}  // namespace velaqm::com
