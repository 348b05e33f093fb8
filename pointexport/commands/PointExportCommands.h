// Command bodies of the point export plug-in. The export bodies return the
// host status; the three list functions hand their value to LISP themselves.
#pragma once

int exportPenzd();
int exportPnezd();
int exportXyz();
int exportLandXml();
int listNodes();
int listNodesEastingFirst();
int nextPointNumber();   // acedRetReal
int pointCoordinates();  // acedRetList or acedRetNil
int installFolder();     // acedRetStr or acedRetNil
