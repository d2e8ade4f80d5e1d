error("the entry script fails")
