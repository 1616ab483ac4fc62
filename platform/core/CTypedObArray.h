#pragma once
// The framework's owning pointer list (CObArray) in typed form: the list owns its elements and
// deletes them when they are removed, when the size is set to 0, and when the list is destroyed.

#include <cassert>
#include <memory>
#include <vector>

template <class T>
class CTypedObArray {
public:
    int GetSize() const { return static_cast<int>(m_elements.size()); }
    int GetUpperBound() const { return GetSize() - 1; }

    T* GetAt(int index) const {
        assert(index >= 0 && index < GetSize());
        return m_elements[static_cast<std::size_t>(index)].get();
    }
    T* operator[](int index) const { return GetAt(index); }

    // Takes ownership of the element and returns its index.
    int Add(T* element) {
        m_elements.emplace_back(element);
        return GetUpperBound();
    }
    int Add(std::unique_ptr<T> element) {
        m_elements.push_back(std::move(element));
        return GetUpperBound();
    }

    // Deletes the element at the index and closes the gap.
    void RemoveAt(int index) {
        assert(index >= 0 && index < GetSize());
        m_elements.erase(m_elements.begin() + index);
    }

    // Only shrinking to empty is used; it deletes every element.
    void SetSize(int newSize) {
        assert(newSize == 0);
        m_elements.clear();
    }
    void RemoveAll() { m_elements.clear(); }
    void FreeExtra() { m_elements.shrink_to_fit(); }

private:
    std::vector<std::unique_ptr<T>> m_elements;
};
