#include "app/MWCore.h"

#include "platform/SystemLog.h"

MWCore& MWCore::sharedInstance() {
    static MWCore core;
    return core;
}

void MWCore::applicationDidLaunchWithConfig(const MWCConfig& config) {
    if (config_) {
        SystemLog::write(
            QStringLiteral("[DEBUG] The core services were configured twice; keeping the first"));
        return;
    }
    config_ = config;
}
