// The container pattern and deferred initialisation.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Share.h"

// Base of every generated container: one owned field per element, nothing else.
// The generated destructor frees the elements in declaration order and the host
// window element last; FreeInOrder states that order in one line.
class TSchemeContainer {
public:
  TSchemeContainer() = default;
  TSchemeContainer(const TSchemeContainer&) = delete;
  TSchemeContainer& operator=(const TSchemeContainer&) = delete;
  virtual ~TSchemeContainer() = default;
};

template <class... T> void FreeInOrder(std::unique_ptr<T>&... elements) {
  (elements.reset(), ...);
}

// Deferred initialisation: callbacks registered while the scheme is built run
// once it exists, the last registered first.
struct TInitCallback {
  void (*Method)(void* object) = nullptr;
  void* Object = nullptr;
};

class TInitMan {
public:
  std::vector<TInitCallback> Items;
  int32_t Count = 0;
  bool Running = false;
};

void DeferInit(TInitCallback callback);
void RunDeferredInits();
bool DeferredInitsPending(); // an instance exists (collecting or running)

template <class T, void (T::*M)()> void InitThunk(void* object) { (static_cast<T*>(object)->*M)(); }
template <class T, void (T::*M)()> TInitCallback MakeInitCallback(T* object) {
  return TInitCallback{&InitThunk<T, M>, object};
}
