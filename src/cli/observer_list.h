// Several listeners where the window takes one: each hears everything, in order.
#pragma once
#include <initializer_list>
#include <vector>

#include "update/update_observer.h"

namespace tarnwick {

class ObserverList final : public UpdateObserver {
public:
    ObserverList(std::initializer_list<UpdateObserver*> observers) : observers_(observers) {}

    void statusShown(uint8_t targetId, const std::string& text, int showProgress, int percent) override {
        for (UpdateObserver* o : observers_) o->statusShown(targetId, text, showProgress, percent);
    }
    void boxShown(BoxKind kind, const std::string& text) override {
        for (UpdateObserver* o : observers_) o->boxShown(kind, text);
    }
    void failureReported(const ErrorRecord& record, const std::string& text) override {
        for (UpdateObserver* o : observers_) o->failureReported(record, text);
    }
    void resultReported(int code, const std::string& text) override {
        for (UpdateObserver* o : observers_) o->resultReported(code, text);
    }

private:
    std::vector<UpdateObserver*> observers_;
};

}  // namespace tarnwick
