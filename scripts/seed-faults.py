#!/usr/bin/env python3
# Puts each fault of docs/testing.md's table back into the program alone, rebuilds what the
# test meant to catch it needs (build/sim), runs that test, and restores the file. Prints
# CAUGHT or MISSED per fault. Run from anywhere, after a build of build/sim:
#   scripts/seed-faults.py            # every fault
#   scripts/seed-faults.py one_timer  # some of them, by name
# It edits the working tree while it runs (each file is restored, even on failure), so do not
# edit the program meanwhile. The last rebuild leaves build/sim as the sources are.
import os
import subprocess
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
K=f'{root}/build/sim/tools/kipo-sim/kipo-sim'
rows=[
 ('keeps_typed_text','ui/find_window.cpp','    UpdateData(TRUE);\n    if (FindTimerId == 0)','    if (FindTimerId == 0)',('scenario','find_window_keeps_typed_text')),
 ('covered_caption','ui/find_window.cpp','if (!ListCoversCaption(list, found.FoundCaption)) {','if (true) {',('scenario','find_window_covered_caption')),
 ('modifiers','ui/find_window.cpp','constexpr UINT kHotKeyModifiers = MOD_WIN | MOD_KEYUP;','constexpr UINT kHotKeyModifiers = MOD_WIN;',('scenario','find_window_calls')),
 ('release','ui/find_window.cpp','release(MOD_WIN, VK_APP1);','release(MOD_WIN | MOD_KEYUP, VK_APP1);',('scenario','find_window_calls')),
 ('findbusy_guard','ui/find_window.cpp','if (FindBusy != 0 || FindTimerBusy != 0)','if (FindTimerBusy != 0)',('scenario','find_window_calls')),
 ('one_timer','ui/find_window.cpp','    if (FindTimerId == 0)\n        FindTimerId = SetTimer','    FindTimerId = SetTimer',('gtest','test_ui','FindWindowTest.FindWindowPressedTwiceStartsOneTimer')),
 ('fullscreen','ui/find_window.cpp','    found.m_bFullScreen = FALSE;\n','',('scenario','find_window_calls')),
 ('empty_caption_box','ui/settings_dlg.cpp','if (caption[0] != 0)','if (true)',('gtest','test_ui','SettingsDialogTest.TestButtonShowsNoBoxForAnEmptyCaption')),
 ('check_two','framework/data_exchange.cpp','value < 0 || value > 2','value < 0 || value > 1',('scenario','check_box_value_two')),
 ('dangling_dialog','ui/on_settings.cpp','    SettingsDlg = nullptr;\n','',('scenario','settings_twice')),
 ('nested_dispatch','framework/wnd.h','        m_current = saved;\n','        (void)saved;\n',('gtest','test_framework','WndTest.DefaultAfterANestedDispatchAnswersTheOuterMessage')),
 ('tick_busy_guard','engine/monitor_tick.cpp','    if (Busy != 0) {\n        if (Observer','    if (false) {\n        if (Observer',('scenario','timer_inside_busy')),
 ('load_busy','settings/load_settings.cpp','void CMainFrame::LoadSettings() {\n    Busy = 1;','void CMainFrame::LoadSettings() {',('scenario','timer_inside_busy')),
]
only=sys.argv[1:]
env=dict(os.environ)
for name,path,old,new,check in rows:
    if only and name not in only: continue
    p=f'{root}/{path}'
    src=open(p).read()
    if src.count(old)!=1:
        print(f'{name}: SEED NOT FOUND ({src.count(old)} matches)'); continue
    open(p,'w').write(src.replace(old,new))
    try:
        target='kipo-sim' if check[0]=='scenario' else check[1]
        b=subprocess.run(['nice','cmake','--build',f'{root}/build/sim','--target',target],capture_output=True,text=True,env=env)
        if b.returncode!=0:
            print(f'{name}: BUILD FAILED (stillborn)'); print(b.stdout[-800:]); continue
        if check[0]=='scenario':
            r=subprocess.run([K,'--quiet',f'{root}/tests/scenarios/{check[1]}.kipo'],capture_output=True,text=True)
        else:
            r=subprocess.run([f'{root}/build/sim/tests/{check[1]}',f'--gtest_filter={check[2]}'],capture_output=True,text=True)
        print(f'{name}: {"CAUGHT" if r.returncode!=0 else "MISSED"} (exit {r.returncode}) by {check[-1]}', flush=True)
    finally:
        open(p,'w').write(src)
subprocess.run(['cmake','--build',f'{root}/build/sim'],capture_output=True,env=env)
