// Resource ids, shared by app.rc and the C++ code: plain defines only, so that
// the resource compiler can read this file too.
#ifndef WMB_RESOURCE_IDS_H
#define WMB_RESOURCE_IDS_H

// The lowest icon id, so that Explorer shows it for the .exe.
#define IDI_APP 100

#define IDB_TOOLBAR 200
#define IDB_TOOLBAR_DELETED 201

#define IDR_BACKGROUND_JPG 300
#define IDR_SAMPLE_PHOTO_JPG 301
#define IDR_PHOTO_PLACEHOLDER_JPG 302

#endif
