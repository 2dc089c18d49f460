// Object, persistent object and component: the base classes of the library's
// objects.
//
// TPersistent::Assign(Source) hands the work to Source->AssignTo(this); the
// default AssignTo raises EConvertError ("Cannot assign a TX to a TY"). A class
// that can copy overrides one or both.
//
// TComponent has a Name and an Owner. The owner keeps a list of the components
// it owns and deletes them when it is deleted; a component deleted earlier
// removes itself from its owner's list. A component given an owner must
// therefore be created with new; one without an owner may live anywhere.
#pragma once

#include <string>
#include <vector>

#include "kyn/platform/exceptions.h"
#include "kyn/platform/string.h"

namespace kyn {

class TObject {
 public:
  virtual ~TObject() = default;
  // The class name used in messages ("TColorArray").
  virtual String ClassName() const { return u"TObject"; }
};

class TPersistent : public TObject {
 public:
  String ClassName() const override { return u"TPersistent"; }
  virtual void Assign(const TPersistent* Source);
  virtual void AssignTo(TPersistent* Dest) const;

 protected:
  // Raises the assignment error naming Source's class and this class.
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  String ClassName() const override { return u"TComponent"; }
  const String& Name() const { return FName; }
  void SetName(const String& v) { FName = v; }
  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int i) const { return FComponents.at(static_cast<size_t>(i)); }

 private:
  void InsertComponent(TComponent* c) { FComponents.push_back(c); }
  void RemoveComponent(TComponent* c);

  String FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
};

}  // namespace kyn
