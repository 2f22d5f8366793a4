// libquillmere.so as an in-process server: loaded with dlopen, registered, and called through
// its class factory and dispatch interface, as an automation host does.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "component/com/automation.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;
using namespace quillmere::com;

// The entry points, found by name as a host finds them.
struct Server {
    HRESULT (*registerServer)();
    HRESULT (*unregisterServer)();
    HRESULT (*getClassObject)(const Guid*, const Guid*, void**);
    HRESULT (*canUnloadNow)();
    Bstr (*allocString)(const char*, uint32_t);
    void (*freeString)(Bstr);
    uint32_t (*stringLength)(Bstr);
    void (*variantClear)(ComVariant*);
};

template <typename F>
void find(void* library, const char* name, F& function) {
    void* symbol = dlsym(library, name);
    ASSERT_NE(symbol, nullptr) << name;
    function = reinterpret_cast<F>(symbol);
}

const Guid kOtherIid = {0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
constexpr int32_t kDispIdBase = 0x60030000;
constexpr HRESULT kMemberNotFound = static_cast<HRESULT>(0x80020003);
constexpr HRESULT kBadParamCount = static_cast<HRESULT>(0x8002000E);

class ComServer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Every symbol must resolve at load time, as a host loading the server requires.
        library = dlopen(QUILLMERE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            loadError = dlerror();
            return;
        }
        find(library, "DllRegisterServer", server.registerServer);
        find(library, "DllUnregisterServer", server.unregisterServer);
        find(library, "DllGetClassObject", server.getClassObject);
        find(library, "DllCanUnloadNow", server.canUnloadNow);
        find(library, "QmSysAllocString", server.allocString);
        find(library, "QmSysFreeString", server.freeString);
        find(library, "QmSysStringLen", server.stringLength);
        find(library, "QmVariantClear", server.variantClear);
    }

    void SetUp() override {
        ASSERT_NE(library, nullptr) << loadError;
        char pattern[] = "/tmp/taviro-com-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        root = scratch / "root";
        fs::create_directories(root / "C");
        ::setenv("TAVIRO_ROOT", root.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("TAVIRO_ROOT");
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }

    testing_support::ProgramRun tool(const std::vector<std::string>& args) {
        std::vector<std::string> all = {"--root", root.string()};
        all.insert(all.end(), args.begin(), args.end());
        return testing_support::runProgram(QUILLMERE_TOOL, all, scratch.string());
    }
    std::string regGet(const std::string& key, const std::string& name) {
        const auto run = tool({"reg", "get", key, name});
        return run.exitCode == 0 ? run.out : "<exit " + std::to_string(run.exitCode) + ">";
    }

    IDispatch* createObject() {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(server.getClassObject(&kClsidClient20, &kIidClassFactory,
                                        reinterpret_cast<void**>(&factory)),
                  kOk);
        if (!factory) return nullptr;
        IDispatch* object = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, kIidDispatch, reinterpret_cast<void**>(&object)),
                  kOk);
        factory->Release();
        return object;
    }

    int32_t dispIdOf(IDispatch* object, const char* name) {
        int32_t id = 0;
        const char* names[] = {name};
        EXPECT_EQ(object->GetIDsOfNames(kIidNull, names, 1, 0, &id), kOk) << name;
        return id;
    }

    ComVariant text(const std::string& value) {
        ComVariant v{};
        v.vt = kVtBstr;
        v.bstrVal = server.allocString(value.data(), static_cast<uint32_t>(value.size()));
        return v;
    }
    std::string textOf(const ComVariant& v) {
        EXPECT_EQ(v.vt, kVtBstr);
        return v.vt == kVtBstr ? std::string(v.bstrVal, server.stringLength(v.bstrVal))
                               : std::string();
    }

    // Invokes with the arguments in parameter order (the interface wants them reversed).
    HRESULT invoke(IDispatch* object, int32_t dispId, std::vector<ComVariant> args,
                   ComVariant& result, ExcepInfo& exception) {
        std::vector<ComVariant> reversed(args.rbegin(), args.rend());
        DispParams params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
        result = ComVariant{};
        exception = ExcepInfo{};
        const HRESULT hr = object->Invoke(dispId, kIidNull, 0, kDispatchMethod, &params, &result,
                                          &exception, nullptr);
        for (ComVariant& arg : reversed) server.variantClear(&arg);
        return hr;
    }

    void clearException(ExcepInfo& exception) {
        server.freeString(exception.bstrSource);
        server.freeString(exception.bstrDescription);
        server.freeString(exception.bstrHelpFile);
        exception = ExcepInfo{};
    }

    static inline void* library = nullptr;
    static inline std::string loadError;
    static inline Server server{};
    fs::path scratch;
    fs::path root;
};

// An object that would aggregate Client20; the class refuses aggregation.
struct OuterObject : IUnknown {
    HRESULT QueryInterface(const Guid&, void**) override { return kNoInterface; }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
};

const std::string kClasses = "HKLM\\SOFTWARE\\Classes";
const std::string kClsid = "{7E7A0046-7EC9-4F04-B84B-7D02EB20AC39}";
const std::string kIid = "{8A60CB9E-1403-4379-A104-77CFDB7A0EC0}";
const std::string kLibId = "{3A3D9C94-68DD-4ED5-A84D-3EAE4A4652EB}";

TEST_F(ComServer, RegistrationWritesClassProgIdInterfaceAndTypeLibrary) {
    ASSERT_EQ(server.registerServer(), kOk);
    ASSERT_EQ(server.registerServer(), kOk);  // registering again changes nothing
    EXPECT_EQ(regGet(kClasses + "\\CLSID\\" + kClsid, ""), "Quillmere.Client20\n");
    EXPECT_EQ(regGet(kClasses + "\\CLSID\\" + kClsid + "\\InprocServer32", ""),
              std::string(QUILLMERE_LIBRARY) + "\n");
    EXPECT_EQ(regGet(kClasses + "\\CLSID\\" + kClsid + "\\InprocServer32", "ThreadingModel"),
              "Apartment\n");
    EXPECT_EQ(regGet(kClasses + "\\CLSID\\" + kClsid + "\\ProgID", ""), "Quillmere.Client20\n");
    EXPECT_EQ(regGet(kClasses + "\\CLSID\\" + kClsid + "\\TypeLib", ""), kLibId + "\n");
    EXPECT_EQ(regGet(kClasses + "\\Quillmere.Client20\\CLSID", ""), kClsid + "\n");
    EXPECT_EQ(regGet(kClasses + "\\Interface\\" + kIid, ""), "_Client20\n");
    EXPECT_EQ(regGet(kClasses + "\\Interface\\" + kIid + "\\TypeLib", ""), kLibId + "\n");
    EXPECT_EQ(regGet(kClasses + "\\TypeLib\\" + kLibId + "\\1.0", ""), "Quillmere\n");
    EXPECT_EQ(
        tool({"reg", "list", kClasses + "\\CLSID\\" + kClsid + "\\InprocServer32"}).out,
        "\tREG_SZ\t" + std::string(QUILLMERE_LIBRARY) + "\nThreadingModel\tREG_SZ\tApartment\n");

    ASSERT_EQ(server.unregisterServer(), kOk);
    for (const std::string& key :
         {kClasses + "\\CLSID\\" + kClsid, kClasses + "\\Quillmere.Client20",
          kClasses + "\\Interface\\" + kIid, kClasses + "\\TypeLib\\" + kLibId})
        EXPECT_EQ(tool({"reg", "list", key}).exitCode, 3) << key;
    EXPECT_EQ(server.unregisterServer(), kOk);  // nothing left to remove is no failure
}

TEST_F(ComServer, RegistrationOnANewRootCreatesItWithDriveC) {
    root = scratch / "new";
    ::setenv("TAVIRO_ROOT", root.c_str(), 1);
    ASSERT_EQ(server.registerServer(), kOk);
    EXPECT_TRUE(fs::is_directory(root / "C"));
    EXPECT_EQ(regGet(kClasses + "\\Quillmere.Client20\\CLSID", ""), kClsid + "\n");
}

TEST_F(ComServer, ClassFactoryServesOnlyClient20) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(server.getClassObject(&kOtherIid, &kIidClassFactory, &object), kClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(server.getClassObject(&kClsidClient20, &kOtherIid, &object), kNoInterface);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(
        server.getClassObject(&kClsidClient20, &kIidUnknown, reinterpret_cast<void**>(&factory)),
        kOk);
    OuterObject outer;
    void* aggregated = nullptr;
    EXPECT_EQ(factory->CreateInstance(&outer, kIidDispatch, &aggregated), kNoAggregation);
    void* wrong = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, kOtherIid, &wrong), kNoInterface);
    EXPECT_EQ(wrong, nullptr);
    factory->Release();
    EXPECT_EQ(server.canUnloadNow(), kOk);
}

TEST_F(ComServer, ObjectAnswersItsInterfacesAndKeepsTheServerLoaded) {
    IDispatch* object = createObject();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(server.canUnloadNow(), kFalse);
    void* same = nullptr;
    EXPECT_EQ(object->QueryInterface(kIidClient20, &same), kOk);
    EXPECT_EQ(same, object);
    static_cast<IUnknown*>(same)->Release();
    EXPECT_EQ(object->QueryInterface(kOtherIid, &same), kNoInterface);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(server.canUnloadNow(), kOk);

    IClassFactory* factory = nullptr;
    server.getClassObject(&kClsidClient20, &kIidClassFactory, reinterpret_cast<void**>(&factory));
    factory->LockServer(1);
    EXPECT_EQ(server.canUnloadNow(), kFalse);
    factory->LockServer(0);
    EXPECT_EQ(server.canUnloadNow(), kOk);
}

TEST_F(ComServer, NamesMapToDispIdsWithoutRegardToCase) {
    IDispatch* object = createObject();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(dispIdOf(object, "Initialize"), kDispIdBase);
    EXPECT_EQ(dispIdOf(object, "set_mode"), kDispIdBase + 25);
    EXPECT_EQ(dispIdOf(object, "OpenDataBase"), kDispIdBase + 28);
    EXPECT_EQ(dispIdOf(object, "StroreErrorOrders"), kDispIdBase + 39);
    int32_t id = 0;
    const char* unknown[] = {"NoSuchMethod"};
    EXPECT_EQ(object->GetIDsOfNames(kIidNull, unknown, 1, 0, &id), kDispUnknownName);
    EXPECT_EQ(id, -1);
    object->Release();
}

TEST_F(ComServer, MethodsRunThroughInvoke) {
    IDispatch* object = createObject();
    ASSERT_NE(object, nullptr);
    ComVariant result{};
    ExcepInfo exception{};

    ASSERT_EQ(invoke(object, dispIdOf(object, "Initialize"), {}, result, exception), kOk);
    EXPECT_EQ(textOf(result), "");
    server.variantClear(&result);
    EXPECT_TRUE(fs::is_regular_file(root / "C" / "Taviro Quillmere" / "ZudivevEzored.xml"));

    ASSERT_EQ(invoke(object, dispIdOf(object, "Set_Mode"), {text("Offline")}, result, exception),
              kOk);
    EXPECT_EQ(result.vt, kVtEmpty);
    EXPECT_EQ(regGet("HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere", "Mode"), "Offline\n");

    ASSERT_EQ(invoke(object, dispIdOf(object, "Get_Error"), {}, result, exception), kOk);
    EXPECT_EQ(textOf(result), "");
    server.variantClear(&result);

    ASSERT_EQ(invoke(object, dispIdOf(object, "LocalXmlExists"), {}, result, exception), kOk);
    EXPECT_EQ(result.vt, kVtBool);
    EXPECT_EQ(result.boolVal, -1);

    // Text passes byte for byte, embedded NUL included.
    const std::string page("<p>\0\xE9</p>", 9);
    ASSERT_EQ(invoke(object, dispIdOf(object, "SaveWebPage"), {text(page)}, result, exception),
              kOk);
    ASSERT_EQ(invoke(object, dispIdOf(object, "GetVariable"), {text("Mode")}, result, exception),
              kOk);
    EXPECT_EQ(textOf(result), "Offline");
    server.variantClear(&result);
    object->Release();
}

TEST_F(ComServer, ByReferenceParameterComesBack) {
    IDispatch* object = createObject();
    ASSERT_NE(object, nullptr);
    ComVariant result{};
    ExcepInfo exception{};
    invoke(object, kDispIdBase, {}, result, exception);
    server.variantClear(&result);
    fs::copy_file(std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml",
                  root / "C" / "Taviro Quillmere" / "FieldMapper.xml");
    // The label look-up loads the field definitions that the headings are built from.
    invoke(object, dispIdOf(object, "GetI18NString"), {text("SLBEU0262")}, result, exception);
    server.variantClear(&result);

    int16_t columns = 3;
    ComVariant byRef{};
    byRef.vt = kVtI2 | kVtByRef;
    byRef.piVal = &columns;
    const HRESULT hr = invoke(object, dispIdOf(object, "getColumnHeadingsForHRA"),
                              {byRef, text("ccsocservclabr")}, result, exception);
    if (hr == kDispException) {
        // Not answered yet: the failure travels as exception information.
        EXPECT_EQ(static_cast<uint32_t>(exception.scode), 0x80004001u);
        clearException(exception);
    } else {
        ASSERT_EQ(hr, kOk);
        EXPECT_GT(columns, 3);
        EXPECT_EQ(textOf(result).rfind("<COL", 0), 0u);
        server.variantClear(&result);

        // A script's integer variable (32-bit) gets the number back as well.
        int32_t scriptColumns = 3;
        ComVariant scriptRef{};
        scriptRef.vt = kVtI4 | kVtByRef;
        scriptRef.plVal = &scriptColumns;
        ASSERT_EQ(invoke(object, dispIdOf(object, "getColumnHeadingsForHRA"),
                         {scriptRef, text("ccsocservclabr")}, result, exception),
                  kOk);
        EXPECT_EQ(scriptColumns, columns);
        server.variantClear(&result);
    }
    object->Release();
}

TEST_F(ComServer, VariablesHandedByReferenceToByValueParametersStayAsTheyWere) {
    IDispatch* object = createObject();
    ASSERT_NE(object, nullptr);
    ComVariant result{};
    ExcepInfo exception{};
    // A by-value parameter handed over by reference, as script engines do with variables.
    Bstr mode = server.allocString("Offline", 7);
    ComVariant byRef{};
    byRef.vt = kVtBstr | kVtByRef;
    byRef.pbstrVal = &mode;
    invoke(object, kDispIdBase, {}, result, exception);
    server.variantClear(&result);
    const Bstr original = mode;
    ASSERT_EQ(invoke(object, dispIdOf(object, "Set_Mode"), {byRef}, result, exception), kOk);
    EXPECT_EQ(mode, original);  // a by-value parameter leaves the caller's variable alone
    EXPECT_EQ(std::string(mode, server.stringLength(mode)), "Offline");
    EXPECT_EQ(regGet("HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere", "Mode"), "Offline\n");
    server.freeString(mode);

    // A variant by reference.
    ComVariant inner = text("Online");
    ComVariant variantRef{};
    variantRef.vt = kVtVariant | kVtByRef;
    variantRef.pvarVal = &inner;
    const Bstr originalInner = inner.bstrVal;
    ASSERT_EQ(invoke(object, dispIdOf(object, "Set_Mode"), {variantRef}, result, exception), kOk);
    EXPECT_EQ(inner.bstrVal, originalInner);
    EXPECT_EQ(textOf(inner), "Online");
    server.variantClear(&inner);
    EXPECT_EQ(regGet("HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere", "Mode"), "Online\n");
    object->Release();
}

TEST_F(ComServer, ScriptIntegersAreAcceptedAndOtherTypesRefused) {
    IDispatch* object = createObject();
    ASSERT_NE(object, nullptr);
    ComVariant result{};
    ExcepInfo exception{};
    invoke(object, kDispIdBase, {}, result, exception);
    server.variantClear(&result);

    ComVariant number{};
    number.vt = kVtI4;
    number.lVal = 70000;
    ASSERT_EQ(invoke(object, dispIdOf(object, "Set_Mode"), {number}, result, exception), kOk);
    EXPECT_EQ(regGet("HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere", "Mode"), "70000\n");

    ComVariant real{};
    real.vt = 5;  // a double: no such parameter exists, and it must not become "empty"
    uint32_t argError = 99;
    std::vector<ComVariant> reversed{real};
    DispParams params{reversed.data(), nullptr, 1, 0};
    EXPECT_EQ(object->Invoke(dispIdOf(object, "Set_Mode"), kIidNull, 0, kDispatchMethod, &params,
                             &result, &exception, &argError),
              kDispTypeMismatch);
    EXPECT_EQ(argError, 0u);
    EXPECT_EQ(regGet("HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere", "Mode"), "70000\n");
    object->Release();
}

TEST_F(ComServer, FailuresReachTheHost) {
    IDispatch* object = createObject();
    ASSERT_NE(object, nullptr);
    ComVariant result{};
    ExcepInfo exception{};

    // Position 27 is empty.
    EXPECT_EQ(invoke(object, 0x6003001B, {}, result, exception), kMemberNotFound);
    EXPECT_EQ(invoke(object, kDispIdBase + 58, {}, result, exception), kMemberNotFound);
    EXPECT_EQ(invoke(object, dispIdOf(object, "Set_Mode"), {}, result, exception), kBadParamCount);

    // A failure of the logic comes as an exception with the code and description.
    invoke(object, kDispIdBase, {}, result, exception);
    server.variantClear(&result);
    fs::remove(root / "C" / "Taviro Quillmere" / "log.txt");
    EXPECT_EQ(invoke(object, dispIdOf(object, "GetMailContent"), {text("Log")}, result, exception),
              kDispException);
    EXPECT_EQ(static_cast<uint32_t>(exception.scode), 0x800A0035u);
    ASSERT_NE(exception.bstrDescription, nullptr);
    EXPECT_GT(server.stringLength(exception.bstrDescription), 0u);
    ASSERT_NE(exception.bstrSource, nullptr);
    EXPECT_EQ(std::string(exception.bstrSource, server.stringLength(exception.bstrSource)),
              "Quillmere");
    EXPECT_EQ(result.vt, kVtEmpty);
    clearException(exception);
    object->Release();
    EXPECT_EQ(server.canUnloadNow(), kOk);
}

TEST_F(ComServer, TextAllocationKeepsLengthAndBytes) {
    Bstr empty = server.allocString(nullptr, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(server.stringLength(empty), 0u);
    EXPECT_EQ(empty[0], '\0');
    server.freeString(empty);
    Bstr withNul = server.allocString("a\0b", 3);
    EXPECT_EQ(server.stringLength(withNul), 3u);
    EXPECT_EQ(std::memcmp(withNul, "a\0b", 4), 0);
    server.freeString(withNul);
    server.freeString(nullptr);
    EXPECT_EQ(server.stringLength(nullptr), 0u);
}

}  // namespace
