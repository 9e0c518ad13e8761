#pragma once
#define IDD_TEST 200
#define IDC_EDIT 201
#define IDC_BUTTON 202
#define IDC_COMBO 203
#define IDC_LIST 204
#define IDC_PROGRESS 205
#define IDC_LABEL 206
#define IDC_OWNERDRAW 207
#define IDC_HOST 208
