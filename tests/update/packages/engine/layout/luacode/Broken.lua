function Process(first, second
