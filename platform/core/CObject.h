#pragma once
// The framework's object root: run-time class information (IsKindOf) and dynamic creation.
// Classes declare themselves with DECLARE_DYNAMIC / DECLARE_DYNCREATE / DECLARE_SERIAL in the
// class body and the matching IMPLEMENT_ line in their source file.

#include "platform/core/AfxTypes.h"

class CObject;
class CArchive;

struct CRuntimeClass {
    const char* m_lpszClassName;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// Stands in for the framework's archive; nothing in Tallyscope serialises, so it only says which way.
class CArchive {
public:
    explicit CArchive(bool storing) : m_bStoring(storing) {}
    BOOL IsStoring() const { return m_bStoring; }
    BOOL IsLoading() const { return !m_bStoring; }

private:
    bool m_bStoring;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                         \
public:                                                                                                     \
    static const CRuntimeClass class##class_name;                                                          \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                       \
    DECLARE_DYNAMIC(class_name)                                                                             \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, creator)                                \
    const CRuntimeClass class_name::class##class_name = {#class_name, schema, creator,                      \
                                                         RUNTIME_CLASS(base_class_name)};                   \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                      \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                    \
    CObject* class_name::CreateObject() { return new class_name; }                                          \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                               \
    CObject* class_name::CreateObject() { return new class_name; }                                          \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject)
