#include "kyn/platform/classes.h"

#include <algorithm>

namespace kyn {

void TPersistent::Assign(const TPersistent* Source) {
  if (Source == nullptr) AssignError(Source);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  // Default: this class cannot hand itself over; report it from the
  // destination's point of view, as Assign does.
  throw EConvertError(u"Cannot assign a " + ClassName() + u" to a " +
                      (Dest ? Dest->ClassName() : String(u"nil")));
}

void TPersistent::AssignError(const TPersistent* Source) const {
  throw EConvertError(u"Cannot assign a " + (Source ? Source->ClassName() : String(u"nil")) +
                      u" to a " + ClassName());
}

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
  if (FOwner) FOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Delete owned components, last first; each removes itself from the list.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    FComponents.pop_back();
    c->FOwner = nullptr;
    delete c;
  }
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(FComponents.begin(), FComponents.end(), c);
  if (it != FComponents.end()) FComponents.erase(it);
}

}  // namespace kyn
