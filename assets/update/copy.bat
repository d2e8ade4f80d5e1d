@echo off
rem Stand-in for the updater's replacement script.
