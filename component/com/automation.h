#pragma once
// The in-process server boundary of libquillmere.so: the binary layout of the automation
// types and interfaces that a host uses after dlopen. It follows the COM conventions
// (reference counting, class factory, IDispatch with DISPIDs, arguments in reverse order,
// failures as HRESULTs with exception information); text travels as length-prefixed UTF-8
// strings allocated by QmSysAllocString.
#include <cstdint>

#include "platform/failure.h"

namespace quillmere::com {

using HRESULT = int32_t;

struct Guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};
bool operator==(const Guid& a, const Guid& b);

using Bstr = char*;

enum VarType : uint16_t {
    kVtEmpty = 0,
    kVtI2 = 2,
    kVtI4 = 3,  // accepted as an argument (script engines pass integers so), never returned
    kVtBstr = 8,
    kVtBool = 11,
    kVtVariant = 12,
    kVtByRef = 0x4000,
};

struct ComVariant {
    uint16_t vt;
    uint16_t reserved1;
    uint16_t reserved2;
    uint16_t reserved3;
    union {
        int16_t iVal;
        int32_t lVal;
        int16_t boolVal;  // true is -1
        Bstr bstrVal;
        int16_t* piVal;
        int32_t* plVal;
        Bstr* pbstrVal;
        ComVariant* pvarVal;
    };
};

struct DispParams {
    ComVariant* rgvarg;  // arguments in reverse order
    int32_t* rgdispidNamedArgs;
    uint32_t cArgs;
    uint32_t cNamedArgs;
};

struct ExcepInfo {
    uint16_t wCode;
    uint16_t wReserved;
    Bstr bstrSource;
    Bstr bstrDescription;
    Bstr bstrHelpFile;
    uint32_t dwHelpContext;
    void* pvReserved;
    void* pfnDeferredFillIn;
    HRESULT scode;
};

struct IUnknown {
    virtual HRESULT QueryInterface(const Guid& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
    virtual HRESULT LockServer(int32_t lock) = 0;
};

struct IDispatch : IUnknown {
    virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
    virtual HRESULT GetTypeInfo(uint32_t index, uint32_t lcid, void** info) = 0;
    virtual HRESULT GetIDsOfNames(const Guid& iid, const char* const* names, uint32_t count,
                                  uint32_t lcid, int32_t* dispIds) = 0;
    virtual HRESULT Invoke(int32_t dispId, const Guid& iid, uint32_t lcid, uint16_t flags,
                           DispParams* params, ComVariant* result, ExcepInfo* exception,
                           uint32_t* argError) = 0;
};

inline constexpr HRESULT kOk = 0;
inline constexpr HRESULT kFalse = 1;
inline constexpr HRESULT kNoInterface = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT kPointer = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT kFail = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT kClassNotAvailable = static_cast<HRESULT>(0x80040111);
inline constexpr HRESULT kNoAggregation = static_cast<HRESULT>(0x80040110);
inline constexpr HRESULT kDispException = static_cast<HRESULT>(0x80020009);
inline constexpr HRESULT kDispUnknownName =
    static_cast<HRESULT>(platform::failure::kDispUnknownName);
inline constexpr HRESULT kDispTypeMismatch =
    static_cast<HRESULT>(platform::failure::kDispTypeMismatch);
inline constexpr uint16_t kDispatchMethod = 1;

// Identity of the component.
inline constexpr Guid kLibId = {
    0x3A3D9C94, 0x68DD, 0x4ED5, {0xA8, 0x4D, 0x3E, 0xAE, 0x4A, 0x46, 0x52, 0xEB}};
inline constexpr Guid kClsidClient20 = {
    0x7E7A0046, 0x7EC9, 0x4F04, {0xB8, 0x4B, 0x7D, 0x02, 0xEB, 0x20, 0xAC, 0x39}};
inline constexpr Guid kIidClient20 = {
    0x8A60CB9E, 0x1403, 0x4379, {0xA1, 0x04, 0x77, 0xCF, 0xDB, 0x7A, 0x0E, 0xC0}};
inline constexpr Guid kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr Guid kIidClassFactory = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr Guid kIidDispatch = {
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr Guid kIidNull = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

}  // namespace quillmere::com

extern "C" {
quillmere::com::HRESULT DllRegisterServer();
quillmere::com::HRESULT DllUnregisterServer();
quillmere::com::HRESULT DllGetClassObject(const quillmere::com::Guid* clsid,
                                          const quillmere::com::Guid* iid, void** object);
quillmere::com::HRESULT DllCanUnloadNow();
// Text allocation shared by the host and the component.
quillmere::com::Bstr QmSysAllocString(const char* text, uint32_t length);
void QmSysFreeString(quillmere::com::Bstr text);
uint32_t QmSysStringLen(quillmere::com::Bstr text);
void QmVariantClear(quillmere::com::ComVariant* value);
}
