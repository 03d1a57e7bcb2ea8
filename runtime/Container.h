// The container pattern and deferred initialisation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "Share.h"

class TOMEditMulti;

// Base of every generated container. It owns the elements it makes, in the
// order it makes them, and frees them in that order when it goes, the host
// window element last: the host's window takes the child windows with it.
// So a container's fields are plain pointers, each made by its own
// initialiser in creation order (the host first, then the bridge), and the
// constructor only sets properties and links.
class TSchemeContainer {
public:
  TSchemeContainer() = default;
  TSchemeContainer(const TSchemeContainer&) = delete;
  TSchemeContainer& operator=(const TSchemeContainer&) = delete;
  virtual ~TSchemeContainer();

  // What a hosted container offers its multi-element.
  TOMEditMulti* Bridge() const { return FBridge; }

protected:
  template <class T, class... A> T* Make(A&&... args) {
    T* element = new T(std::forward<A>(args)...);
    Own(element);
    return element;
  }
  template <class T, size_t N> std::array<T*, N> MakeMany() {
    std::array<T*, N> elements{};
    for (T*& element : elements) element = Make<T>();
    return elements;
  }
  // The host window element, made before any other.
  template <class T, class... A> T* MakeHost(A&&... args) {
    HasHost = Elements.empty();
    return Make<T>(std::forward<A>(args)...);
  }
  TOMEditMulti* MakeBridge();
  // The bridge's settings, the last of the container: inWork[i] reaches
  // works[i] inside, varData[i] reads vars[i].
  void SetBridge(std::initializer_list<TPointLink> works, std::initializer_list<TPointLink> vars = {});

private:
  // Appends the element to Elements: one copy of that code for every kind.
  void Own(TOMObject* element);

  std::vector<std::unique_ptr<TOMObject>> Elements;
  bool HasHost = false;
  TOMEditMulti* FBridge = nullptr;
};

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
