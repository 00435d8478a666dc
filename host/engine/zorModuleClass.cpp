// zorModuleClass: a named module with a parameter list and a reference count.
//
// Copies of a class object share its parameter list (the array and its
// records). The list is released by the last holder; a holder that appends
// to a shared list first takes a private copy of it, so no holder ever sees
// an array or a record another holder has released.
#include "zorQModule.h"
#include "zorQNames.h"
#include "zorQObj.h"
#include "zorQText.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <string>

namespace {

constexpr char kSourceFile[] = "host/engine/zorModuleClass";

// Holders of each shared list beyond the first.
struct ListShares {
    std::mutex lock;
    std::map<zorParam**, int> extraHolders;
};

ListShares& Shares() {
    static ListShares shares;
    return shares;
}

void AddHolder(zorParam** list) {
    if (list == nullptr) return;
    ListShares& shares = Shares();
    std::lock_guard<std::mutex> guard(shares.lock);
    ++shares.extraHolders[list];
}

// Drops one holder; true when the caller was the last one.
bool DropHolder(zorParam** list) {
    ListShares& shares = Shares();
    std::lock_guard<std::mutex> guard(shares.lock);
    const auto found = shares.extraHolders.find(list);
    if (found == shares.extraHolders.end()) return true;
    if (--found->second == 0) shares.extraHolders.erase(found);
    return false;
}

bool IsShared(zorParam** list) {
    ListShares& shares = Shares();
    std::lock_guard<std::mutex> guard(shares.lock);
    return shares.extraHolders.count(list) != 0;
}

void DeleteList(zorParam** list, int32_t count) {
    for (int32_t i = 0; i < count; ++i) delete list[i];
    TrackedFree(list);
}

// Entries the array of a list of `count` records holds.
unsigned ListCapacity(int32_t count) {
    const int32_t steps = (count + kZorParamListStep - 1) / kZorParamListStep;
    return static_cast<unsigned>(steps * kZorParamListStep);
}

// A private copy of a list: a new array with copies of the records; null when
// any storage cannot be had.
zorParam** CloneList(zorParam** list, int32_t count) {
    auto* copy = static_cast<zorParam**>(
        TrackedAlloc(ListCapacity(count) * sizeof(zorParam*), kSourceFile, __LINE__));
    if (copy == nullptr) return nullptr;
    for (int32_t i = 0; i < count; ++i) {
        if (list[i] == nullptr) continue;
        copy[i] = new (std::nothrow) zorParam(*list[i]);
        if (copy[i] == nullptr) {
            DeleteList(copy, i);
            return nullptr;
        }
    }
    return copy;
}

void PrintParamValue(FILE* out, const zorParam* param) {
    switch (param->type) {
        case PARAM_TEXT:
            std::fprintf(out, "%s = \"%s\"\n", param->name, static_cast<const char*>(param->data));
            break;
        case PARAM_INT:
            std::fprintf(out, "%s = %d\n", param->name, *static_cast<const int32_t*>(param->data));
            break;
        case PARAM_FLOAT:
            std::fprintf(out, "%s = %g\n", param->name,
                         static_cast<double>(*static_cast<const float*>(param->data)));
            break;
        default:
            std::fprintf(out, "%s = ?\n", param->name);
            break;
    }
}

bool NameBefore(const zorParam* a, const zorParam* b) {
    if (a == nullptr || b == nullptr) return b == nullptr && a != nullptr;
    return zorQ_NamesCompare(a->name, b->name) < 0;
}

const char kBackupSuffix[] = ".bak";

}  // namespace

zorModuleClass::zorModuleClass()
    : moduleFlags(0),
      name{},
      module{},
      fileName{},
      version(0),
      params(nullptr),
      paramCount(0),
      paramsSorted(0),
      refCount(0),
      next(nullptr) {}

zorModuleClass::zorModuleClass(const zorModuleClass& other)
    : moduleFlags(other.moduleFlags),
      version(other.version),
      params(other.params),
      paramCount(other.paramCount),
      paramsSorted(other.paramsSorted),
      refCount(other.refCount),
      next(other.next) {
    std::memcpy(name, other.name, sizeof name);
    std::memcpy(module, other.module, sizeof module);
    std::memcpy(fileName, other.fileName, sizeof fileName);
    AddHolder(params);
}

zorModuleClass& zorModuleClass::operator=(const zorModuleClass& other) {
    if (params != other.params) {
        AddHolder(other.params);
        if (params != nullptr && DropHolder(params)) DeleteList(params, paramCount);
    }
    moduleFlags = other.moduleFlags;
    std::memmove(name, other.name, sizeof name);
    std::memmove(module, other.module, sizeof module);
    std::memmove(fileName, other.fileName, sizeof fileName);
    version = other.version;
    params = other.params;
    paramCount = other.paramCount;
    paramsSorted = other.paramsSorted;
    refCount = other.refCount;
    next = other.next;
    return *this;
}

zorModuleClass::~zorModuleClass() {
    if (params != nullptr && DropHolder(params)) DeleteList(params, paramCount);
}

void zorModuleClass::AddParam(zorParam* param) {
    if (params != nullptr && IsShared(params)) {
        zorParam** own = CloneList(params, paramCount);
        if (own == nullptr) {
            delete param;
            return;
        }
        DropHolder(params);
        params = own;
    }
    zorQModule_AppendParam(params, paramCount, param);
    paramsSorted = 0;
}

void zorModuleClass::SortParams() {
    if (params != nullptr) std::stable_sort(params, params + paramCount, NameBefore);
    paramsSorted = 1;
}

void zorModuleClass::SetModule(char* moduleName) {
    zorq::CopyTextTruncated(module, sizeof module, moduleName);
}

char* zorModuleClass::GetModule() { return module; }

void zorModuleClass::AddRef() { ++refCount; }

// Lowers the count by one, also below 0: a class released more often than
// referenced says so in its count.
void zorModuleClass::Release() { --refCount; }

int zorModuleClass::GetRefCount() { return refCount; }

zorParam* zorModuleClass::GetParam(char* paramName) {
    for (int32_t i = 0; i < paramCount; ++i) {
        if (params[i] != nullptr && zorQ_NamesEqual(params[i]->name, paramName)) return params[i];
    }
    return nullptr;
}

zorParam* zorModuleClass::GetParam(int index) {
    return (index >= 0 && index < paramCount) ? params[index] : nullptr;
}

void zorModuleClass::PrintParams() {
    for (int32_t i = 0; i < paramCount; ++i) {
        if (params[i] != nullptr) PrintParamValue(stdout, params[i]);
    }
}

long zorModuleClass::Create() { return 0; }

void zorModuleClass::Setup(char* className, char* moduleName, char* file,
                           zorModuleClass* nextClass) {
    zorq::CopyTextTruncated(name, sizeof name, className);
    zorq::CopyTextTruncated(module, sizeof module, moduleName);
    zorq::CopyTextTruncated(fileName, sizeof fileName, file);
    next = nextClass;
}

char* zorModuleClass::GetName() { return name; }

zorModuleClass* zorModuleClass::GetNext() { return next; }

void zorModuleClass::SetNext(zorModuleClass* nextClass) { next = nextClass; }

void zorModuleClass::PrintComments(FILE* out) {
    if (out != nullptr) std::fprintf(out, "# %s (%s)\n", name, module);
}

int zorModuleClass::Save(char* path) {
    if (path == nullptr || path[0] == '\0') return -1;
    FILE* out = std::fopen(path, "w");
    if (out == nullptr) return -1;
    PrintComments(out);
    for (int32_t i = 0; i < paramCount; ++i) {
        if (params[i] != nullptr) PrintParamValue(out, params[i]);
    }
    return std::fclose(out) == 0 ? 0 : -1;
}

int zorModuleClass::Backup() { return backup_file(fileName); }

int zorModuleClass::backup_file(char* path) {
    if (path == nullptr || path[0] == '\0') return -1;
    std::string backup = std::string(path) + kBackupSuffix;
    return Save(backup.data());
}
