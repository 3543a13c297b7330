// TComponent: ownership and names. The owner frees what it owns, last created first; a
// component freed on its own leaves its owner's list.
#pragma once

#include <vxplan/platform/core/vxTypes.h>

#include <string>
#include <vector>

namespace vxplan {

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* GetOwner() const { return owner_; }
    int GetComponentCount() const { return static_cast<int>(components_.size()); }
    // Throws EListError naming the index when it is outside 0..count-1.
    TComponent* GetComponent(int index) const;
    int GetComponentIndex() const;

    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name);
    TComponent* FindComponent(const std::string& name) const;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Asks to hear of the component's destruction through Notification(opRemove).
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    bool IsDestroying() const { return destroying_; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Marks the component as going away before its owned components are freed.
    void BeginDestroy() { destroying_ = true; }
    // Frees the owned components now (descendants whose owned children refer to their own
    // members call this first in their destructor).
    void DestroyComponents();

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    bool destroying_ = false;
};

}  // namespace vxplan
