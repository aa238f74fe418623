// The control ids of the main window's controls; tests find the controls by them.
#pragma once

namespace mxc9 {

enum : int {
    kIdTabs = 100,
    kIdGauge1,
    kIdGauge2,
    kIdAverage,
    kIdValue,
    kIdLevel,
    kIdName,
    kIdWrite,
    kIdRead,
    kIdInformation,
    kIdQuit,
    kIdPortLabel,
    kIdPort,
    kIdBrakeCaption,
    kIdBrakeBar,
    kIdComment,
    kIdFirstList = 150,  // + ListId
    kIdFirstBar = 200,   // + bar index
    kIdFirstLabel = 300,
    kIdFirstMenuItem = 400,  // + PageMenuItem
};

}  // namespace mxc9
